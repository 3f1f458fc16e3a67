#include "win32/LogFile.h"

namespace uidriver {

LogFile::~LogFile() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

bool LogFile::open(const std::wstring& path, std::string& error) {
  file_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file_ == INVALID_HANDLE_VALUE) {
    error = "cannot create the log file (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  if (GetFileType(file_) != FILE_TYPE_DISK) {
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    error = "the log must be a file on disk, not a pipe or device";
    return false;
  }
  return true;
}

void LogFile::write(const std::string& line) {
  std::string data = line + "\n";
  DWORD written = 0;
  if (!WriteFile(file_, data.data(), DWORD(data.size()), &written, nullptr) ||
      written != data.size())
    failed_ = true;
}

}  // namespace uidriver
