// The program's entry point, in place of a C runtime's: static constructors,
// WinMain with its usual arguments, then exit with WinMain's status.
#include <windows.h>

#include "runtime/CommandTail.h"
#include "runtime/ExitHandlers.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

namespace {

using Constructor = void (*)();

constinit qlx::runtime::ExitHandlers exitHandlers;

}  // namespace

// The linker's tables of static constructors and destructors: a leading -1
// (or the count), the entries, a terminating null.
extern "C" Constructor __CTOR_LIST__[];
extern "C" Constructor __DTOR_LIST__[];

namespace {

void runDestructorList() {
  for (Constructor* entry = __DTOR_LIST__ + 1; *entry != nullptr; ++entry) (*entry)();
}

// The compiler lists constructors so that the last entry runs first.
void runConstructorList() {
  std::size_t count = reinterpret_cast<std::size_t>(__CTOR_LIST__[0]);
  if (count == static_cast<std::size_t>(-1)) {
    count = 0;
    while (__CTOR_LIST__[count + 1] != nullptr) ++count;
  }
  for (std::size_t i = count; i >= 1; --i) __CTOR_LIST__[i]();
  exitHandlers.add(&runDestructorList);
}

int showCommand() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}

}  // namespace

extern "C" {

int atexit(void (*handler)()) { return exitHandlers.add(handler) ? 0 : -1; }

// The static clean-up, then the end of the process with `status`.
void exit(int status) {
  exitHandlers.runAll();
  ExitProcess(static_cast<UINT>(status));
}

// Entered with the stack only 4-byte aligned; the attribute realigns it for
// the compiler's assumptions.
[[noreturn]] __attribute__((force_align_arg_pointer)) void programEntry() {
  runConstructorList();
  const char* arguments = qlx::runtime::commandTail(GetCommandLineA());
  exit(WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(arguments), showCommand()));
}

}  // extern "C"
