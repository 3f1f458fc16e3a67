// WINSPOOL: what the spooler tells: its directories and its lists.

#include <cstring>

#include "FakeErrors.h"
#include "FakePaths.h"
#include "FakeSpoolerLayout.h"
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
  if (bufferSize < size) {
    s.fail(kErrorInsufficientBuffer);
    s.runAfterHook("EnumPrinterDriversA");
    return false;
  }
  if (out == nullptr && size > 0) return s.fail(kErrorInvalidUserBuffer);
  detail::layOutDrivers(listed, level, out);
  *returned = static_cast<Dword>(listed.size());
  s.runAfterHook("EnumPrinterDriversA");
  return true;
}

namespace {

// The contract every Enum call shares once its list is known: the size
// needed always, the entries only when they fit.
template <typename LayOut>
bool answerList(FakePlatform::State& s, const char* call, std::size_t size, std::size_t count,
                std::uint8_t* out, Dword bufferSize, Dword* needed, Dword* returned,
                LayOut layOut) {
  if (needed == nullptr || returned == nullptr) return s.fail(kErrorInvalidParameter);
  *needed = static_cast<Dword>(size);
  *returned = 0;
  bool listed = false;
  if (bufferSize < size) {
    s.fail(kErrorInsufficientBuffer);
  } else if (out == nullptr && size > 0) {
    s.fail(kErrorInvalidUserBuffer);
  } else {
    layOut(out);
    *returned = static_cast<Dword>(count);
    listed = true;
  }
  s.runAfterHook(call);
  return listed;
}

}  // namespace

bool FakePlatform::enumPrinters(Dword flags, const char* name, Dword level, std::uint8_t* out,
                                Dword bufferSize, Dword* needed, Dword* returned) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("EnumPrintersA", {number(flags), text(name), number(level),
                                                          buffer(out), number(bufferSize)})) {
    return s.fail(*error);
  }
  // Only the local printers' full records are modelled.
  if (flags != kPrinterEnumLocal || (name != nullptr && *name != '\0')) {
    return s.fail(kErrorInvalidParameter);
  }
  if (level != 2) return s.fail(kErrorInvalidLevel);
  std::vector<const PrinterEntry*> listed;
  for (const PrinterEntry& printer : s.spooler.printers) listed.push_back(&printer);
  return answerList(s, "EnumPrintersA", detail::printerLayoutSize(listed), listed.size(), out,
                    bufferSize, needed, returned,
                    [&](std::uint8_t* into) { detail::layOutPrinters(listed, into); });
}

namespace {

bool answerNames(FakePlatform::State& s, const char* call, const std::vector<std::string>& names,
                 std::uint8_t* out, Dword bufferSize, Dword* needed, Dword* returned) {
  return answerList(s, call, detail::nameLayoutSize(names), names.size(), out, bufferSize, needed,
                    returned, [&](std::uint8_t* into) { detail::layOutNames(names, into); });
}

}  // namespace

bool FakePlatform::enumMonitors(const char* server, Dword level, std::uint8_t* out,
                                Dword bufferSize, Dword* needed, Dword* returned) {
  State& s = *state_;
  if (auto error = s.log.recordFailable(
          "EnumMonitorsA", {text(server), number(level), buffer(out), number(bufferSize)})) {
    return s.fail(*error);
  }
  if (!isLocalServer(server)) return s.fail(kErrorRpcServerUnavailable);
  if (level != 1) return s.fail(kErrorInvalidLevel);
  return answerNames(s, "EnumMonitorsA", installedMonitorNames(), out, bufferSize, needed,
                     returned);
}

bool FakePlatform::enumPrintProcessors(const char* server, const char* environment, Dword level,
                                       std::uint8_t* out, Dword bufferSize, Dword* needed,
                                       Dword* returned) {
  State& s = *state_;
  if (auto error = s.log.recordFailable(
          "EnumPrintProcessorsA",
          {text(server), text(environment), number(level), buffer(out), number(bufferSize)})) {
    return s.fail(*error);
  }
  if (!isLocalServer(server)) return s.fail(kErrorRpcServerUnavailable);
  if (level != 1) return s.fail(kErrorInvalidLevel);
  const std::optional<std::string> environmentName = s.environment(environment);
  if (!environmentName) return s.fail(kErrorInvalidEnvironment);
  std::vector<std::string> names;
  for (const State::Processor& processor : s.spooler.processors) {
    if (s.processorKnown(processor.name, *environmentName)) names.push_back(processor.name);
  }
  return answerNames(s, "EnumPrintProcessorsA", names, out, bufferSize, needed, returned);
}

bool FakePlatform::enumPorts(const char* server, Dword level, std::uint8_t* out, Dword bufferSize,
                             Dword* needed, Dword* returned) {
  State& s = *state_;
  if (auto error = s.log.recordFailable(
          "EnumPortsA", {text(server), number(level), buffer(out), number(bufferSize)})) {
    return s.fail(*error);
  }
  if (!isLocalServer(server)) return s.fail(kErrorRpcServerUnavailable);
  if (level != 1) return s.fail(kErrorInvalidLevel);
  return answerNames(s, "EnumPortsA", s.spooler.ports, out, bufferSize, needed, returned);
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
