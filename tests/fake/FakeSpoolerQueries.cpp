// WINSPOOL: what the spooler tells: its directories and installed drivers.

#include <cstring>

#include "FakeDriverLayout.h"
#include "FakeErrors.h"
#include "FakePaths.h"
#include "FakeState.h"

namespace qlx::fake {
namespace {

using detail::arg::buffer;
using detail::arg::number;
using detail::arg::text;

}  // namespace

bool FakePlatform::enumPrinterDrivers(const char* server, const char* environment, Dword level,
                                      std::uint8_t* out, Dword bufferSize, Dword* needed,
                                      Dword* returned) {
  State& s = *state_;
  if (auto error = s.log.recordFailable(
          "EnumPrinterDriversA",
          {text(server), text(environment), number(level), buffer(out), number(bufferSize)})) {
    return s.fail(*error);
  }
  if (!isLocalServer(server)) return s.fail(kErrorRpcServerUnavailable);
  if (level != 3 && level != 4) return s.fail(kErrorInvalidLevel);
  if (needed == nullptr || returned == nullptr) return s.fail(kErrorInvalidParameter);
  // Another environment's drivers may be installed too; they are listed by name.
  const std::string wanted =
      environment == nullptr || *environment == '\0' ? s.ownEnvironment() : environment;
  std::vector<const DriverRecord*> listed;
  for (const DriverRecord& driver : s.spooler.installedDrivers) {
    if (detail::equalsIgnoreCase(*driver.environment, wanted)) listed.push_back(&driver);
  }
  const auto size = static_cast<Dword>(detail::driverLayoutSize(listed, level));
  *needed = size;
  *returned = 0;
  if (bufferSize < size) return s.fail(kErrorInsufficientBuffer);
  if (out == nullptr && size > 0) return s.fail(kErrorInvalidUserBuffer);
  detail::layOutDrivers(listed, level, out);
  *returned = static_cast<Dword>(listed.size());
  return true;
}

namespace {

// GetPrinterDriverDirectoryA and GetPrintProcessorDirectoryA share their
// contract; the Win32 code, 0 when the directory was written.
Dword writeDirectory(const std::string& directory, const char* server, Dword level,
                     bool knownEnvironment, std::uint8_t* out, Dword bufferSize, Dword* needed) {
  if (!isLocalServer(server)) return kErrorRpcServerUnavailable;
  if (level != 1) return kErrorInvalidLevel;
  if (!knownEnvironment) return kErrorInvalidEnvironment;
  if (needed == nullptr) return kErrorInvalidParameter;
  const auto size = static_cast<Dword>(directory.size() + 1);
  *needed = size;
  if (bufferSize < size) return kErrorInsufficientBuffer;
  if (out == nullptr) return kErrorInvalidUserBuffer;
  std::memcpy(out, directory.c_str(), size);
  return kErrorSuccess;
}

}  // namespace

bool FakePlatform::getPrinterDriverDirectory(const char* server, const char* environment,
                                             Dword level, std::uint8_t* out, Dword bufferSize,
                                             Dword* needed) {
  State& s = *state_;
  if (auto error = s.log.recordFailable(
          "GetPrinterDriverDirectoryA",
          {text(server), text(environment), number(level), buffer(out), number(bufferSize)})) {
    return s.fail(*error);
  }
  const Dword error =
      writeDirectory(s.driverDirectory, server, level, s.environment(environment).has_value(), out,
                     bufferSize, needed);
  return error == kErrorSuccess || s.fail(error);
}

bool FakePlatform::getPrintProcessorDirectory(const char* server, const char* environment,
                                              Dword level, std::uint8_t* out, Dword bufferSize,
                                              Dword* needed) {
  State& s = *state_;
  if (auto error = s.log.recordFailable(
          "GetPrintProcessorDirectoryA",
          {text(server), text(environment), number(level), buffer(out), number(bufferSize)})) {
    return s.fail(*error);
  }
  const Dword error =
      writeDirectory(s.processorDirectory, server, level, s.environment(environment).has_value(),
                     out, bufferSize, needed);
  return error == kErrorSuccess || s.fail(error);
}

}  // namespace qlx::fake
