#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/Kernel.h"

namespace qlx {

// The installation log: 8-bit text, CRLF lines, appended to the file as the
// run goes, so that whatever ends the run leaves every line before it. A line
// that cannot be written is lost and the run goes on.
class InstallLog {
 public:
  explicit InstallLog(Kernel& kernel) : kernel_(kernel) {}
  ~InstallLog();
  InstallLog(const InstallLog&) = delete;
  InstallLog& operator=(const InstallLog&) = delete;

  // Opens the file for appending, creating it when missing: 0, or the code
  // of the failure.
  Dword open(const std::string& path);
  bool isOpen() const { return file_ != kInvalidHandleValue; }
  void close();

  // One line; line breaks inside it become blanks so that it stays one line.
  void write(std::string_view line);
  // One line of fixed texts without a line break, written piece by piece
  // without taking memory: for when there is none left.
  void writeWithoutAllocating(std::initializer_list<std::string_view> parts);
  // "what: failed, error N: the system's text". Call right after reading the
  // code: looking up the text may change the thread's last error.
  void writeFailure(std::string_view what, Dword code);
  // The same with the text already looked up.
  void writeFailure(std::string_view what, Dword code, std::string_view text);

  // The system's English text for a code, without its line end; empty when
  // there is none.
  std::string systemText(Dword code);

 private:
  Kernel& kernel_;
  Handle file_ = kInvalidHandleValue;
};

// Formatting shared by everything that writes to the log. `join` keeps the
// many log lines from growing the program: one call instead of a chain of
// temporaries for each.
std::string join(std::initializer_list<std::string_view> parts);

// The system's English text for an error code as FormatMessageA gives it
// (line end included), or nothing; never read past its terminator, whatever
// length is reported.
std::string systemMessageText(Kernel& kernel, Dword code);
std::string quoted(std::string_view text);
std::string withoutLineEnd(std::string_view text);
std::string twoDigits(unsigned value);
// Local date and time as "YYYY-MM-DD hh:mm:ss".
std::string formatDateTime(const SystemTime& time);
// A FILETIME (100 ns ticks since 1601, UTC) as "YYYY-MM-DD hh:mm:ss UTC".
std::string formatFileTime(std::uint64_t ticks);
// An AddPrinterDriverA call with the names that matter to support.
std::string driverCall(const DriverInfo3& driver);

}  // namespace qlx
