// The JSON-lines log. Each line goes to the file at once, so that a reader
// outside the prefix sees it even if a restart ends the driver next.
#pragma once

#include <windows.h>

#include <string>

namespace uidriver {

class LogFile {
 public:
  LogFile() = default;
  ~LogFile();
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;

  // Creates or truncates `path`. Refuses anything but a disk file: the
  // prefix's service processes would keep a pipe open (see wine-notes).
  bool open(const std::wstring& path, std::string& error);
  void write(const std::string& line);
  bool failed() const { return failed_; }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  bool failed_ = false;
};

}  // namespace uidriver
