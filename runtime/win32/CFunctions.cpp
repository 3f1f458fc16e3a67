// The few C library functions that the compiler and the standard headers call
// by name. Built without loop-to-call rewriting (see Win32Program.cmake), so
// that memcpy does not become a call to itself.
#include <cstddef>

#include "runtime/ByteFunctions.h"
#include "runtime/win32/RuntimeFailure.h"

using namespace qlx::runtime;

extern "C" {

void* memcpy(void* target, const void* source, std::size_t count) {
  return copyBytes(target, source, count);
}

void* memmove(void* target, const void* source, std::size_t count) {
  return moveBytes(target, source, count);
}

void* memset(void* target, int value, std::size_t count) { return fillBytes(target, value, count); }

int memcmp(const void* first, const void* second, std::size_t count) {
  return compareBytes(first, second, count);
}

void* memchr(const void* block, int value, std::size_t count) {
  return const_cast<void*>(findByte(block, value, count));
}

std::size_t strlen(const char* text) { return stringLength(text); }

std::size_t strnlen(const char* text, std::size_t limit) {
  return boundedStringLength(text, limit);
}

// What __builtin_abort and the library's unrecoverable paths call.
void abort() { runtimeFailure("The program stopped because of an internal error."); }

}  // extern "C"
