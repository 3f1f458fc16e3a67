// The C++ runtime pieces that the compiler and the standard headers reach
// without exceptions: the throw helpers of the library's containers, the pure
// virtual call and the terminate handler. Each ends the program through
// runtimeFailure; none pulls in the library's exception or locale machinery.
#include <bits/functexcept.h>

#include "runtime/win32/RuntimeFailure.h"

namespace {

[[noreturn]] void internalError() {
  runtimeFailure("The program stopped because of an internal error.");
}

}  // namespace

extern "C" void __cxa_pure_virtual() { internalError(); }
extern "C" void __cxa_deleted_virtual() { internalError(); }

namespace std {

void __throw_bad_alloc() { runtimeFailure("Out of memory."); }
void __throw_bad_array_new_length() { runtimeFailure("Out of memory."); }
void __throw_length_error(const char*) { runtimeFailure("Out of memory."); }
void __throw_logic_error(const char*) { internalError(); }
void __throw_out_of_range(const char*) { internalError(); }
void __throw_out_of_range_fmt(const char*, ...) { internalError(); }
void __throw_invalid_argument(const char*) { internalError(); }
void __throw_bad_function_call() { internalError(); }

}  // namespace std

namespace __gnu_cxx {

void __verbose_terminate_handler() { internalError(); }

}  // namespace __gnu_cxx
