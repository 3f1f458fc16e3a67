// WINSPOOL: installing monitors, print processors, drivers and printers, and
// the printer handles.

#include <algorithm>
#include <array>

#include "FakeErrors.h"
#include "FakePaths.h"
#include "FakeSpoolerRecords.h"
#include "FakeState.h"

namespace qlx::fake {
namespace {

using detail::arg::buffer;
using detail::arg::handle;
using detail::arg::number;
using detail::arg::text;

// A pooled printer names several ports, separated by commas.
bool allPortsKnown(const std::vector<std::string>& known, const char* ports) {
  if (ports == nullptr || *ports == '\0') return false;
  std::string_view rest(ports);
  for (std::size_t comma; (comma = rest.find(',')) != std::string_view::npos;
       rest.remove_prefix(comma + 1)) {
    if (!detail::containsIgnoreCase(known, rest.substr(0, comma))) return false;
  }
  return detail::containsIgnoreCase(known, rest);
}

std::uint64_t versionOf(const FakeFile& file) {
  return (static_cast<std::uint64_t>(file.version->dwFileVersionMS) << 32) |
         file.version->dwFileVersionLS;
}

// By version where both files have one, else by last-write time.
bool isNewer(const FakeFile& staged, const FakeFile& installed) {
  if (staged.version && installed.version) return versionOf(staged) > versionOf(installed);
  return staged.lastWrite > installed.lastWrite;
}

bool isValidPrinterName(const char* name) {
  return name != nullptr && *name != '\0' &&
         std::string_view(name).find_first_of("\\,") == std::string_view::npos;
}

std::vector<std::string> namedFiles(const DriverInfo3& info) {
  std::vector<std::string> names;
  for (const char* name : {info.pDriverPath, info.pDataFile, info.pConfigFile, info.pHelpFile}) {
    if (name != nullptr && *name != '\0') names.emplace_back(name);
  }
  for (std::string& dependent : detail::multiStringNames(info.pDependentFiles)) {
    names.push_back(std::move(dependent));
  }
  return names;
}

}  // namespace

bool FakePlatform::addMonitor(const char* server, Dword level, const MonitorInfo2* info) {
  State& s = *state_;
  const auto fault = s.log.recordFailable(
      "AddMonitorA", {text(server), number(level), info ? text(info->pName) : "null"});
  if (info != nullptr) s.spooler.monitorCalls.push_back(detail::toRecord(*info));
  if (fault) return s.fail(*fault);
  if (!isLocalServer(server)) return s.fail(kErrorRpcServerUnavailable);
  if (level != 2) return s.fail(kErrorInvalidLevel);
  if (info == nullptr || info->pName == nullptr || info->pDLLName == nullptr) {
    return s.fail(kErrorInvalidParameter);
  }
  if (!s.environment(info->pEnvironment)) return s.fail(kErrorInvalidEnvironment);
  if (std::any_of(s.spooler.monitors.begin(), s.spooler.monitors.end(),
                  [&](const State::Monitor& monitor) {
                    return detail::equalsIgnoreCase(monitor.name, info->pName);
                  })) {
    return s.fail(kErrorPrintMonitorAlreadyInstalled);
  }
  // The spooler loads the monitor from the system directory, and keeps it.
  const std::string library = s.locate(s.systemDirectory, info->pDLLName);
  if (!s.files.isFile(library)) return s.fail(kErrorModuleNotFound);
  s.markLoaded(library);
  s.spooler.monitorsAdded.push_back(detail::toRecord(*info));
  s.spooler.monitors.push_back(State::Monitor{info->pName, info->pDLLName});
  return true;
}

bool FakePlatform::addPrintProcessor(const char* server, const char* environment,
                                     const char* pathName, const char* processorName) {
  State& s = *state_;
  const auto fault = s.log.recordFailable(
      "AddPrintProcessorA", {text(server), text(environment), text(pathName), text(processorName)});
  const ProcessorRecord record{environment ? environment : "", pathName ? pathName : "",
                               processorName ? processorName : ""};
  s.spooler.processorCalls.push_back(record);
  if (fault) return s.fail(*fault);
  if (!isLocalServer(server)) return s.fail(kErrorRpcServerUnavailable);
  if (pathName == nullptr || processorName == nullptr) return s.fail(kErrorInvalidParameter);
  if (!s.environment(environment)) return s.fail(kErrorInvalidEnvironment);
  const std::string library = s.locate(s.processorDirectory, pathName);
  if (!s.files.isFile(library)) return s.fail(kErrorFileNotFound);
  const std::string environmentName = *s.environment(environment);
  if (s.processorKnown(processorName, environmentName)) {
    return s.fail(kErrorPrintProcessorAlreadyInstalled);
  }
  s.markLoaded(library);
  s.spooler.processorsAdded.push_back(record);
  s.spooler.processors.push_back(State::Processor{processorName, environmentName, pathName});
  return true;
}

bool FakePlatform::addPrinterDriver(const char* server, Dword level, const DriverInfo3* info) {
  State& s = *state_;
  const auto fault = s.log.recordFailable(
      "AddPrinterDriverA", {text(server), number(level), info ? text(info->pName) : "null"});
  if (info != nullptr) s.spooler.driverCalls.push_back(detail::toRecord(*info));
  if (fault) return s.fail(*fault);
  if (!isLocalServer(server)) return s.fail(kErrorRpcServerUnavailable);
  if (level != 3) return s.fail(kErrorInvalidLevel);
  if (info == nullptr || info->pName == nullptr || info->pDriverPath == nullptr ||
      info->pDataFile == nullptr || info->pConfigFile == nullptr) {
    return s.fail(kErrorInvalidParameter);
  }
  const std::optional<std::string> environment = s.environment(info->pEnvironment);
  if (!environment) return s.fail(kErrorInvalidEnvironment);
  const std::string& directory = s.driverDirectory;
  for (const char* required : {info->pDriverPath, info->pDataFile, info->pConfigFile}) {
    if (!s.files.isFile(s.locate(directory, required))) return s.fail(kErrorFileNotFound);
  }

  // Windows NT's spooler keeps its own copies in the version folder; the
  // staged originals stay where they are. Windows 9x uses them in place.
  std::string home = directory;
  if (*environment == kEnvironmentWindowsNt) {
    home = detail::joinPath(directory, "3");
    s.files.addDirectories(home);
    for (const std::string& name : namedFiles(*info)) {
      const std::string source = s.locate(directory, name.c_str());
      if (!s.files.isFile(source)) continue;
      const std::string target = detail::joinPath(home, detail::fileName(source));
      // Only what is newer than the copy in use replaces it.
      if (const detail::FileSystem::Entry* installed = s.files.find(target);
          installed != nullptr && !isNewer(s.files.find(source)->file, installed->file)) {
        continue;
      }
      FakeFile copy = s.files.find(source)->file;
      copy.openForWriting = false;
      copy.loaded = false;
      s.files.putFile(target, std::move(copy));
    }
  }

  DriverRecord driver = detail::toRecord(*info);
  s.spooler.driversAdded.push_back(driver);
  // The spooler lists the driver with the full paths of its files.
  driver = detail::withFullPaths(std::move(driver), home);
  driver.environment = environment;
  // A driver of the same name (in any case) is replaced, as an upgrade.
  std::erase_if(s.spooler.installedDrivers, [&](const DriverRecord& installed) {
    return detail::equalsIgnoreCase(*installed.name, *driver.name) &&
           detail::equalsIgnoreCase(*installed.environment, *environment);
  });
  s.spooler.installedDrivers.push_back(std::move(driver));
  return true;
}

PrinterHandle FakePlatform::addPrinter(const char* server, Dword level, const PrinterInfo2* info) {
  State& s = *state_;
  const auto fault = s.log.recordFailable(
      "AddPrinterA", {text(server), number(level), info ? text(info->pPrinterName) : "null"});
  if (info != nullptr) s.spooler.printerCalls.push_back(detail::toRecord(*info));
  const auto failWith = [&s](Dword error) -> PrinterHandle {
    s.fail(error);
    return 0;
  };
  if (fault) return failWith(*fault);
  if (!isLocalServer(server)) return failWith(kErrorRpcServerUnavailable);
  if (level != 2) return failWith(kErrorInvalidLevel);
  if (info == nullptr) return failWith(kErrorInvalidParameter);
  if (!isValidPrinterName(info->pPrinterName)) return failWith(kErrorInvalidPrinterName);
  if (s.printer(info->pPrinterName) != nullptr) return failWith(kErrorPrinterAlreadyExists);
  const std::string environment = s.ownEnvironment();
  const bool driverKnown =
      info->pDriverName != nullptr &&
      std::any_of(s.spooler.installedDrivers.begin(), s.spooler.installedDrivers.end(),
                  [&](const DriverRecord& driver) {
                    return detail::equalsIgnoreCase(*driver.name, info->pDriverName) &&
                           detail::equalsIgnoreCase(*driver.environment, environment);
                  });
  if (!driverKnown) return failWith(kErrorUnknownPrinterDriver);
  if (info->pPrintProcessor == nullptr || !s.processorKnown(info->pPrintProcessor, environment)) {
    return failWith(kErrorUnknownPrintProcessor);
  }
  if (!allPortsKnown(s.spooler.ports, info->pPortName)) return failWith(kErrorUnknownPort);
  s.spooler.printersAdded.push_back(detail::toRecord(*info));
  s.spooler.printers.push_back(
      PrinterEntry{info->pPrinterName, info->pDriverName, info->pPortName, info->pPrintProcessor});
  return s.handles.open(detail::HandleKind::Printer, info->pPrinterName, kPrinterAllAccess);
}

bool FakePlatform::openPrinter(const char* name, PrinterHandle* printer,
                               const PrinterDefaults* defaults) {
  State& s = *state_;
  const std::string access =
      defaults == nullptr ? "null" : "{access " + number(defaults->DesiredAccess) + "}";
  if (auto error = s.log.recordFailable("OpenPrinterA", {text(name), access})) {
    return s.fail(*error);
  }
  if (printer == nullptr) return s.fail(kErrorInvalidParameter);
  // A null name opens the local print server itself.
  if (name != nullptr && s.printer(name) == nullptr) return s.fail(kErrorInvalidPrinterName);
  constexpr Dword kPrinterAccessUse = 0x8;
  const Dword granted = defaults == nullptr ? kPrinterAccessUse : defaults->DesiredAccess;
  if (name == nullptr && (granted & kServerAccessAdminister) != 0 && !s.administrator) {
    return s.fail(kErrorAccessDenied);
  }
  *printer = s.handles.open(detail::HandleKind::Printer, name == nullptr ? "" : name, granted);
  return true;
}

bool FakePlatform::closePrinter(PrinterHandle printer) {
  State& s = *state_;
  s.log.record("ClosePrinter", {handle(printer)});
  return s.handles.close(printer, detail::HandleKind::Printer) || s.fail(kErrorInvalidHandle);
}

}  // namespace qlx::fake
