#include "msi/win32/RestartMarker.h"

#include <windows.h>

namespace qlx::msi::restart_marker {

void clear(const char* path) { DeleteFileA(path); }

bool leave(const char* path) {
  const HANDLE file =
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool take(const char* path) {
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return false;
  DeleteFileA(path);
  return true;
}

}  // namespace qlx::msi::restart_marker
