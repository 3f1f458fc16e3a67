#include "FakeCallLog.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace qlx::fake {

std::string Call::text() const {
  std::string line = name + "(";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) line += ", ";
    line += args[i];
  }
  return line + ")";
}

}  // namespace qlx::fake

namespace qlx::fake::detail {
namespace {

// Calls that release, or cannot fail meaningfully, are left out.
constexpr std::array<std::string_view, 56> kFailableCalls = {
    // KERNEL32
    "GetVersionExA", "IsWow64Process", "GetSystemDirectoryA", "GetWindowsDirectoryA", "CopyFileA",
    "DeleteFileA", "CreateDirectoryA", "CreateFileA", "GetFileTime", "SetFilePointer", "WriteFile",
    "GlobalAlloc", "GlobalLock", "GlobalHandle", "FormatMessageA", "GetModuleFileNameA",
    "SetCurrentDirectoryA", "GetFileAttributesA", "SetFileAttributesA", "RemoveDirectoryA",
    "CreateMutexA", "MoveFileExA", "MoveFileA", "FlushFileBuffers", "GetShortPathNameA",
    "GetPrivateProfileSectionA",
    "WritePrivateProfileSectionA",
    // VERSION
    "GetFileVersionInfoSizeA", "GetFileVersionInfoA", "VerQueryValueA",
    // ADVAPI32
    "RegOpenKeyExA", "RegDeleteKeyA", "RegCreateKeyA", "RegSetValueExA", "RegQueryValueExA",
    "OpenProcessToken", "LookupPrivilegeValueA", "AdjustTokenPrivileges",
    // WINSPOOL
    "EnumPrinterDriversA", "GetPrinterDriverDirectoryA", "GetPrintProcessorDirectoryA",
    "AddMonitorA", "AddPrintProcessorA", "AddPrinterDriverA", "AddPrinterA", "OpenPrinterA",
    "EnumPrintersA", "EnumMonitorsA", "EnumPrintProcessorsA", "EnumPortsA", "SetPrinterA",
    "DeletePrinter", "DeletePrinterDriverA", "DeletePrintProcessorA", "DeleteMonitorA",
    // USER32
    "ExitWindowsEx"};

}  // namespace

bool isFailable(std::string_view callName) {
  return std::find(kFailableCalls.begin(), kFailableCalls.end(), callName) != kFailableCalls.end();
}

void CallLog::record(std::string name, std::vector<std::string> args) {
  if (callsBeforeCut_) {
    if (*callsBeforeCut_ == 0) {
      callsBeforeCut_.reset();
      powerLost_ = true;
      throw PowerCut{};
    }
    --*callsBeforeCut_;
  }
  calls_.push_back(Call{std::move(name), std::move(args)});
}

std::optional<Dword> CallLog::recordFailable(std::string name, std::vector<std::string> args) {
  const std::size_t index = failable_++;
  const int occurrence = ++made_[name];
  std::optional<Dword> error;
  if (const auto hit = byIndex_.find(index); hit != byIndex_.end()) error = hit->second;
  if (const auto hit = byOccurrence_.find({name, occurrence}); hit != byOccurrence_.end()) {
    error = hit->second;
  }
  record(std::move(name), std::move(args));
  return error;
}

void CallLog::failCall(const std::string& name, Dword error, int occurrence) {
  // A fault that can never fire would let a test pass for the wrong reason.
  if (!isFailable(name)) throw std::invalid_argument(name + " is not a failable call");
  if (occurrence < 1) throw std::invalid_argument("occurrences count from 1");
  byOccurrence_[{name, occurrence}] = error;
}

void CallLog::failNth(std::size_t index, Dword error) { byIndex_[index] = error; }

namespace arg {

std::string text(const char* string) { return string == nullptr ? "null" : string; }

std::string buffer(const void* pointer) { return pointer == nullptr ? "null" : "buffer"; }

std::string flag(bool value) { return value ? "1" : "0"; }

std::string handle(std::uintptr_t value) {
  return std::to_string(static_cast<std::intptr_t>(value));
}

std::string key(HKey value) { return value == kHKeyLocalMachine ? "HKLM" : handle(value); }

}  // namespace arg

}  // namespace qlx::fake::detail
