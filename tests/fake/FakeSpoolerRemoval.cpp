// WINSPOOL: removing printers, drivers, print processors and monitors, with
// the refusals Windows makes while something still uses them.

#include <algorithm>

#include "FakeErrors.h"
#include "FakePaths.h"
#include "FakeState.h"

namespace qlx::fake {
namespace {

using detail::arg::buffer;
using detail::arg::handle;
using detail::arg::number;
using detail::arg::text;

constexpr Dword kPrinterAccessAdminister = 0x4;
constexpr Dword kDelete = 0x10000;

}  // namespace

bool FakePlatform::setPrinter(PrinterHandle printer, Dword level, std::uint8_t* info,
                              Dword command) {
  State& s = *state_;
  if (auto error = s.log.recordFailable(
          "SetPrinterA", {handle(printer), number(level), buffer(info), number(command)})) {
    return s.fail(*error);
  }
  const detail::HandleTable::Entry* open = s.handles.find(printer, detail::HandleKind::Printer);
  if (open == nullptr) return s.fail(kErrorInvalidHandle);
  // Only purging the queue is modelled.
  if (level != 0 || info != nullptr || command != kPrinterControlPurge) {
    return s.fail(kErrorInvalidParameter);
  }
  if ((open->access & kPrinterAccessAdminister) == 0) return s.fail(kErrorAccessDenied);
  if (PrinterEntry* entry = s.printer(open->target)) entry->queuedJobs = 0;
  return true;
}

bool FakePlatform::deletePrinter(PrinterHandle printer) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("DeletePrinter", {handle(printer)})) {
    return s.fail(*error);
  }
  const detail::HandleTable::Entry* open = s.handles.find(printer, detail::HandleKind::Printer);
  if (open == nullptr) return s.fail(kErrorInvalidHandle);
  if ((open->access & kDelete) == 0) return s.fail(kErrorAccessDenied);
  PrinterEntry* entry = s.printer(open->target);
  if (entry == nullptr) return s.fail(kErrorInvalidPrinterName);
  // With jobs queued the printer only goes once they are printed.
  if (entry->queuedJobs > 0) {
    entry->deletePending = true;
    return true;
  }
  const std::string name = entry->name;
  std::erase_if(s.spooler.printers, [&](const PrinterEntry& other) {
    return detail::equalsIgnoreCase(other.name, name);
  });
  return true;
}

bool FakePlatform::deletePrinterDriver(const char* server, const char* environment,
                                       const char* driverName) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("DeletePrinterDriverA",
                                        {text(server), text(environment), text(driverName)})) {
    return s.fail(*error);
  }
  if (!isLocalServer(server)) return s.fail(kErrorRpcServerUnavailable);
  if (driverName == nullptr) return s.fail(kErrorInvalidParameter);
  const std::optional<std::string> environmentName = s.environment(environment);
  if (!environmentName) return s.fail(kErrorInvalidEnvironment);
  const auto installed =
      std::find_if(s.spooler.installedDrivers.begin(), s.spooler.installedDrivers.end(),
                   [&](const DriverRecord& driver) {
                     return detail::equalsIgnoreCase(*driver.name, driverName) &&
                            detail::equalsIgnoreCase(*driver.environment, *environmentName);
                   });
  if (installed == s.spooler.installedDrivers.end()) {
    return s.fail(kErrorUnknownPrinterDriver);
  }
  if (std::any_of(s.spooler.printers.begin(), s.spooler.printers.end(),
                  [&](const PrinterEntry& printer) {
                    return detail::equalsIgnoreCase(printer.driver, driverName);
                  })) {
    return s.fail(kErrorPrinterDriverInUse);
  }
  // The driver's files stay where the spooler put them.
  s.spooler.installedDrivers.erase(installed);
  return true;
}

bool FakePlatform::deletePrintProcessor(const char* server, const char* environment,
                                        const char* processorName) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("DeletePrintProcessorA",
                                        {text(server), text(environment), text(processorName)})) {
    return s.fail(*error);
  }
  if (!isLocalServer(server)) return s.fail(kErrorRpcServerUnavailable);
  if (processorName == nullptr) return s.fail(kErrorInvalidParameter);
  const std::optional<std::string> environmentName = s.environment(environment);
  if (!environmentName) return s.fail(kErrorInvalidEnvironment);
  const auto installed =
      std::find_if(s.spooler.processors.begin(), s.spooler.processors.end(),
                   [&](const State::Processor& processor) {
                     return !processor.environment.empty() &&
                            detail::equalsIgnoreCase(processor.name, processorName) &&
                            detail::equalsIgnoreCase(processor.environment, *environmentName);
                   });
  if (installed == s.spooler.processors.end()) return s.fail(kErrorUnknownPrintProcessor);
  if (std::any_of(s.spooler.printers.begin(), s.spooler.printers.end(),
                  [&](const PrinterEntry& printer) {
                    return detail::equalsIgnoreCase(printer.processor, processorName);
                  })) {
    return s.fail(kErrorCanNotComplete);
  }
  // The library stays loaded until Windows starts again.
  s.spooler.processors.erase(installed);
  return true;
}

bool FakePlatform::deleteMonitor(const char* server, const char* environment,
                                 const char* monitorName) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("DeleteMonitorA",
                                        {text(server), text(environment), text(monitorName)})) {
    return s.fail(*error);
  }
  if (!isLocalServer(server)) return s.fail(kErrorRpcServerUnavailable);
  if (monitorName == nullptr) return s.fail(kErrorInvalidParameter);
  if (!s.environment(environment)) return s.fail(kErrorInvalidEnvironment);
  const auto installed = std::find_if(s.spooler.monitors.begin(), s.spooler.monitors.end(),
                                      [&](const State::Monitor& monitor) {
                                        return detail::equalsIgnoreCase(monitor.name, monitorName);
                                      });
  if (installed == s.spooler.monitors.end()) return s.fail(kErrorUnknownPrintMonitor);
  if (std::any_of(s.spooler.installedDrivers.begin(), s.spooler.installedDrivers.end(),
                  [&](const DriverRecord& driver) {
                    return driver.monitorName &&
                           detail::equalsIgnoreCase(*driver.monitorName, monitorName);
                  })) {
    return s.fail(kErrorPrintMonitorInUse);
  }
  // The library stays loaded until Windows starts again.
  s.spooler.monitors.erase(installed);
  return true;
}

}  // namespace qlx::fake
