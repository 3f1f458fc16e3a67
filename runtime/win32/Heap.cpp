// operator new and delete over the process heap. new never returns null:
// without exceptions, running out of memory ends the program.
#include <windows.h>

#include <cstddef>
#include <new>

#include "runtime/win32/RuntimeFailure.h"

namespace {

void* allocate(std::size_t size) {
  // A zero-byte request still yields a distinct block.
  void* block = HeapAlloc(GetProcessHeap(), 0, size == 0 ? 1 : size);
  if (block == nullptr) runtimeFailure("Out of memory.");
  return block;
}

void release(void* block) {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }
