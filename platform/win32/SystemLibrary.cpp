#include "platform/win32/SystemLibrary.h"

#include <commctrl.h>

#include <cstring>

#include "platform/win32/SystemLibraries.h"

namespace qlx::win32 {
namespace {

// Values of the published flags; the headers only offer some of them for newer targets.
constexpr DWORD kLoadWithAlteredSearchPath = 0x8;
constexpr DWORD kLoadLibrarySearchSystem32 = 0x800;

HMODULE kernel32() { return GetModuleHandleA("kernel32.dll"); }

// LOAD_LIBRARY_SEARCH_SYSTEM32 is understood wherever AddDllDirectory exists
// (Windows 8, or 7 and Vista with KB2533623); older systems reject the flag.
bool systemSearchFlagSupported() {
  return GetProcAddress(kernel32(), "AddDllDirectory") != nullptr;
}

}  // namespace

HMODULE SystemLibrary::load() {
  if (attempted_) return module_;
  attempted_ = true;
  if (systemSearchFlagSupported()) {
    module_ = LoadLibraryExA(fileName_, nullptr, kLoadLibrarySearchSystem32);
  } else {
    char path[MAX_PATH];
    const UINT directoryLength = GetSystemDirectoryA(path, MAX_PATH);
    const std::size_t nameLength = std::strlen(fileName_);
    if (directoryLength == 0 || directoryLength + 1 + nameLength >= MAX_PATH) {
      // A failed query has set its own last error.
      if (directoryLength != 0) SetLastError(ERROR_FILENAME_EXCED_RANGE);
    } else {
      path[directoryLength] = '\\';
      std::memcpy(path + directoryLength + 1, fileName_, nameLength + 1);
      // The altered search path makes the library's own imports resolve from the
      // system directory too, instead of from the program's folder.
      module_ = LoadLibraryExA(path, nullptr, kLoadWithAlteredSearchPath);
    }
  }
  if (!module_) {
    loadError_ = GetLastError();
    if (loadError_ == ERROR_SUCCESS) loadError_ = ERROR_MOD_NOT_FOUND;
  }
  return module_;
}

FARPROC SystemLibrary::find(const char* name) {
  HMODULE module = load();
  if (!module) {
    SetLastError(loadError_);
    return nullptr;
  }
  FARPROC procedure = GetProcAddress(module, name);
  if (!procedure) SetLastError(ERROR_PROC_NOT_FOUND);
  return procedure;
}

namespace {

constinit SystemLibrary comctl32{"comctl32.dll"};
constinit SystemEntry<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)> initCommonControlsEx{
    comctl32, "InitCommonControlsEx"};
// Windows 95 without Internet Explorer 3 has only this one.
constinit SystemEntry<void(WINAPI*)()> initCommonControls{comctl32, "InitCommonControls"};

}  // namespace

}  // namespace qlx::win32

void narrowDllSearchPath() {
  using qlx::win32::findExport;
  HMODULE kernel = qlx::win32::kernel32();
  if (auto setDefault = findExport<BOOL(WINAPI*)(DWORD)>(kernel, "SetDefaultDllDirectories")) {
    if (setDefault(qlx::win32::kLoadLibrarySearchSystem32)) return;
  }
  // Takes the current directory out of the search (XP SP1 and later).
  if (auto setDirectory = findExport<BOOL(WINAPI*)(LPCSTR)>(kernel, "SetDllDirectoryA")) {
    setDirectory("");
  }
}

bool loadCommonControls() {
  using namespace qlx::win32;
  if (auto initEx = initCommonControlsEx.get()) {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    if (initEx(&classes)) return true;
  }
  if (auto init = initCommonControls.get()) {
    init();
    return true;
  }
  return false;
}
