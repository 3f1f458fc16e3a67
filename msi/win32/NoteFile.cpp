#include "msi/win32/NoteFile.h"

#include <windows.h>

namespace qlx::msi::note_file {

bool leave(const char* path) {
  const HANDLE file =
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool take(const char* path) {
  if (!exists(path)) return false;
  DeleteFileA(path);
  return true;
}

void clear(const char* path) { DeleteFileA(path); }

}  // namespace qlx::msi::note_file
