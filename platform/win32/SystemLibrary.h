#pragma once

#include <windows.h>

// Run-time access to the DLLs that the program must not import statically:
// an import would let Windows take a copy planted beside the program.
namespace qlx::win32 {

// A DLL of the system directory, loaded on first use by its full system path and
// never unloaded: its code (a window class, a spooler client) is used until the
// process ends.
class SystemLibrary {
 public:
  explicit constexpr SystemLibrary(const char* fileName) : fileName_(fileName) {}
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  // The entry point `name`, or null with the last error saying why: the library's
  // load failure (ERROR_MOD_NOT_FOUND and the like) or ERROR_PROC_NOT_FOUND.
  FARPROC find(const char* name);

 private:
  HMODULE load();

  const char* fileName_;
  HMODULE module_ = nullptr;
  DWORD loadError_ = 0;
  bool attempted_ = false;
};

// One entry point of a SystemLibrary, resolved once. A missing entry point sets the
// same last error on every use, so that each failing operation reports it afresh.
template <typename Function>
class SystemEntry {
 public:
  constexpr SystemEntry(SystemLibrary& library, const char* name)
      : library_(library), name_(name) {}
  SystemEntry(const SystemEntry&) = delete;
  SystemEntry& operator=(const SystemEntry&) = delete;

  // The function, or null with the last error set.
  Function get() {
    if (!resolved_) {
      // Through void(*)(): the conversion GCC accepts between unrelated function types.
      function_ = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(library_.find(name_)));
      error_ = function_ ? ERROR_SUCCESS : GetLastError();
      resolved_ = true;
    }
    if (!function_) SetLastError(error_);
    return function_;
  }

 private:
  SystemLibrary& library_;
  const char* name_;
  Function function_ = nullptr;
  DWORD error_ = ERROR_SUCCESS;
  bool resolved_ = false;
};

// An export of a module that is already loaded (kernel32), or null.
template <typename Function>
Function findExport(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace qlx::win32
