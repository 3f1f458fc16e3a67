#include "engine/InstallLog.h"

#include <cstring>

namespace qlx {
namespace {

constexpr Dword kFileShareReadWrite = 0x3;  // support may read it while it grows
constexpr Dword kOpenAlways = 4;
constexpr Dword kFileEnd = 2;

std::string padded(unsigned value, std::size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

}  // namespace

InstallLog::~InstallLog() { close(); }

Dword InstallLog::open(const std::string& path) {
  close();
  const Handle file = kernel_.createFile(path.c_str(), kGenericWrite, kFileShareReadWrite,
                                         kOpenAlways, kFileAttributeNormal);
  if (file == kInvalidHandleValue || file == 0) {
    const Dword code = kernel_.getLastError();
    return code != kErrorSuccess ? code : kErrorInvalidHandle;
  }
  file_ = file;
  return kErrorSuccess;
}

void InstallLog::close() {
  if (!isOpen()) return;
  kernel_.closeHandle(file_);
  file_ = kInvalidHandleValue;
}

void InstallLog::write(std::string_view line) {
  if (!isOpen()) return;
  std::string bytes;
  bytes.reserve(line.size() + 2);
  for (char c : line) bytes += (c == '\r' || c == '\n') ? ' ' : c;
  bytes += "\r\n";
  // At the end every time: another run may share the file.
  kernel_.setFilePointer(file_, 0, kFileEnd);
  Dword written = 0;
  kernel_.writeFile(file_, bytes.data(), static_cast<Dword>(bytes.size()), &written);
}

void InstallLog::writeWithoutAllocating(std::initializer_list<std::string_view> parts) {
  if (!isOpen()) return;
  kernel_.setFilePointer(file_, 0, kFileEnd);
  Dword written = 0;
  for (std::string_view part : parts) {
    kernel_.writeFile(file_, part.data(), static_cast<Dword>(part.size()), &written);
  }
  kernel_.writeFile(file_, "\r\n", 2, &written);
}

void InstallLog::writeFailure(std::string_view what, Dword code) {
  if (!isOpen()) return;
  writeFailure(what, code, systemText(code));
}

void InstallLog::writeFailure(std::string_view what, Dword code, std::string_view text) {
  write(join({what, ": failed, error ", std::to_string(static_cast<std::int32_t>(code)),
              text.empty() ? "" : ": ", text}));
}

std::string InstallLog::systemText(Dword code) {
  return withoutLineEnd(systemMessageText(kernel_, code));
}

std::string systemMessageText(Kernel& kernel, Dword code) {
  char* text = nullptr;
  const Dword length = kernel.formatMessage(kFormatMessageAllocateFromSystem, nullptr, code,
                                            kLanguageEnglishUs, &text);
  std::string result;
  if (text != nullptr) {
    if (length != 0) result.assign(text, strnlen(text, length));
    kernel.localFree(text);
  }
  return result;
}

std::string join(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (std::string_view part : parts) size += part.size();
  std::string result;
  result.reserve(size);
  for (std::string_view part : parts) result += part;
  return result;
}

std::string quoted(std::string_view text) { return join({"\"", text, "\""}); }

std::string withoutLineEnd(std::string_view text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
    text.remove_suffix(1);
  }
  return std::string(text);
}

std::string twoDigits(unsigned value) { return padded(value, 2); }

std::string formatDateTime(const SystemTime& time) {
  return join({padded(time.wYear, 4), "-", twoDigits(time.wMonth), "-", twoDigits(time.wDay), " ",
               twoDigits(time.wHour), ":", twoDigits(time.wMinute), ":", twoDigits(time.wSecond)});
}

std::string formatFileTime(std::uint64_t ticks) {
  const std::uint64_t seconds = ticks / 10000000u;
  // Days from 1601-01-01 to 1970-01-01, so the civil-date arithmetic below
  // (counted from 1970) applies.
  constexpr std::int64_t kDaysFrom1601To1970 = 134774;
  const auto totalDays = static_cast<std::int64_t>(seconds / 86400u) - kDaysFrom1601To1970;
  const auto secondOfDay = static_cast<unsigned>(seconds % 86400u);
  // Howard Hinnant's days-to-civil conversion.
  const std::int64_t z = totalDays + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(z - era * 146097);
  const unsigned yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  const auto year = static_cast<unsigned>(static_cast<std::int64_t>(yearOfEra) + era * 400 +
                                          (month <= 2 ? 1 : 0));
  SystemTime time{};
  time.wYear = static_cast<Word>(year);
  time.wMonth = static_cast<Word>(month);
  time.wDay = static_cast<Word>(day);
  time.wHour = static_cast<Word>(secondOfDay / 3600);
  time.wMinute = static_cast<Word>(secondOfDay / 60 % 60);
  time.wSecond = static_cast<Word>(secondOfDay % 60);
  return join({formatDateTime(time), " UTC"});
}

std::string driverCall(const DriverInfo3& driver) {
  const auto text = [](const char* value) { return value == nullptr ? "null" : quoted(value); };
  return join({"AddPrinterDriverA(", text(driver.pName), ", ", text(driver.pEnvironment),
               ", driver ", text(driver.pDriverPath), ", data ", text(driver.pDataFile),
               ", configuration ", text(driver.pConfigFile), ")"});
}

}  // namespace qlx
