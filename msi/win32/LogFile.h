#pragma once

#include <windows.h>

#include <string_view>

namespace qlx::msi {

// Whether the program could append to a log at `path`: it is opened for
// writing, created where missing, and closed again.
bool canWrite(const char* path);

// The program's log, read from where it ended before the run: what this run
// wrote. The program appends and other runs' lines stay in the file.
class LogFile {
 public:
  void open(const char* path) { path_ = path; }

  DWORD size() const;  // 0 when the file is not there yet
  // At most the last kTailCapacity bytes written past `from`, the run's result
  // being at the end; empty when the file cannot be read.
  std::string_view readFrom(DWORD from);

 private:
  static constexpr DWORD kTailCapacity = 32 * 1024;
  const char* path_ = nullptr;
  char tail_[kTailCapacity] = {};
};

}  // namespace qlx::msi
