#include "msi/win32/LogFile.h"

namespace qlx::msi {

namespace {

HANDLE openForReading(const char* path) {
  return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

bool canWrite(const char* path) {
  const HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

DWORD LogFile::size() const {
  const HANDLE file = openForReading(path_);
  if (file == INVALID_HANDLE_VALUE) return 0;
  const DWORD size = GetFileSize(file, nullptr);
  CloseHandle(file);
  return size == INVALID_FILE_SIZE ? 0 : size;
}

std::string_view LogFile::readFrom(DWORD from) {
  const HANDLE file = openForReading(path_);
  if (file == INVALID_HANDLE_VALUE) return {};
  DWORD size = GetFileSize(file, nullptr);
  if (size == INVALID_FILE_SIZE || size < from) size = from;  // replaced meanwhile: nothing new
  const DWORD start = size - from > kTailCapacity ? size - kTailCapacity : from;
  DWORD read = 0;
  const bool ok = SetFilePointer(file, static_cast<LONG>(start), nullptr, FILE_BEGIN) == start &&
                  ReadFile(file, tail_, size - start, &read, nullptr);
  CloseHandle(file);
  return ok ? std::string_view(tail_, read) : std::string_view();
}

}  // namespace qlx::msi
