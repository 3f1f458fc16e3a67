// The steps the three component installations share, each reading what the
// running procedure places from its contents.

#include <string>

#include "engine/DirectoryBuffer.h"
#include "engine/InstallFamily.h"
#include "engine/InstallLog.h"
#include "engine/PrinterInstaller.h"

namespace qlx {
namespace {

bool sameFileName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

// Whether the spooler holds the library `name` loaded: a monitor or processor
// of the installation that a failed run has registered already.
bool PrinterInstaller::libraryInUse(const std::string& name) const {
  if (!contents_.processorName.empty() && sameFileName(name, processorFile)) {
    return survey_.processor;
  }
  for (const PlacedMonitor& monitor : contents_.monitors) {
    if (!sameFileName(name, monitor.dllName)) continue;
    for (const std::string& registered : survey_.registeredMonitors) {
      if (registered == monitor.name) return true;
    }
  }
  return false;
}

// The monitors go to the system directory and the print processor to its own
// directory, where the spooler loads them from; neither is staged. A library
// the spooler holds loaded cannot be replaced: the copy there is kept.
void PrinterInstaller::stageMonitorAndProcessor(DirectoryBuffer& directory) {
  Kernel& kernel = platform_.kernel;
  FileStaging staging(kernel, contents_.sourceFolder, log);
  const auto place = [&](const std::string& name) {
    if (libraryInUse(name) &&
        kernel.getFileAttributes(directory.path(name).c_str()) != kInvalidFileAttributes) {
      logLine(join({"Copy ", contents_.sourceFolder, name, ": kept ", directory.path(name),
                    ", which the spooler uses"}));
      return;
    }
    copyPackageFile(staging, directory, name);
  };

  copyTargetResult(querySystemDirectory(kernel, directory), "GetSystemDirectoryA", directory);
  for (const std::string& name : contents_.namesIn(Place::SystemDirectory)) place(name);
  if (contents_.processorName.empty()) return;
  copyTargetResult(queryPrintProcessorDirectory(platform_.spooler, directory),
                   "GetPrintProcessorDirectoryA", directory);
  for (const std::string& name : contents_.namesIn(Place::PrintProcessorDirectory)) place(name);
}

// Every file for the printer-driver directory but those the overwrite
// policy decides on.
void PrinterInstaller::copyDriverFiles(DirectoryBuffer& directory) {
  copyTargetResult(queryPrinterDriverDirectory(platform_.spooler, directory),
                   "GetPrinterDriverDirectoryA", directory);
  FileStaging staging(platform_.kernel, contents_.sourceFolder, log);
  for (const PlacedFile& file : contents_.files) {
    if (file.place == Place::PrinterDriverDirectory && !file.underPolicy) {
      copyPackageFile(staging, directory, file.name);
    }
  }
}

void PrinterInstaller::copyPackageFile(FileStaging& staging, const DirectoryBuffer& directory,
                                       const std::string& name, bool failIfExists,
                                       const std::string& reason) {
  const CopyResult result = staging.copy(directory, name, failIfExists, reason);
  if (!result.failed()) return;
  incomplete_ = true;
  // A directory that could not be asked for has been shown already.
  if (directory.valid) reportCopyFailure(result);
}

// A monitor or processor registered by an earlier, failed run is there
// already: no failure.
void PrinterInstaller::registerMonitors() {
  reportStep(text::kInstallMonitor);
  for (const PlacedMonitor& monitor : contents_.monitors) {
    const MonitorInfo2 info{monitor.name.c_str(), contents_.environment, monitor.dllName.c_str()};
    additionResult(platform_.spooler.addMonitor(nullptr, 2, &info),
                   join({"AddMonitorA(", quoted(monitor.name), ", ", quoted(contents_.environment),
                         ", ", quoted(monitor.dllName), ")"}),
                   monitor.required ? text::kAddMonitorError : nullptr,
                   kErrorPrintMonitorAlreadyInstalled);
  }
}

void PrinterInstaller::registerPrintProcessor() {
  if (contents_.processorName.empty()) return;
  reportStep(text::kInstallProcessor);
  const char* environment = contents_.environment;
  additionResult(platform_.spooler.addPrintProcessor(nullptr, environment, processorFile.c_str(),
                                                     processorName.c_str()),
                 join({"AddPrintProcessorA(", quoted(processorName), ", ", quoted(environment),
                       ", ", quoted(processorFile), ")"}),
                 text::kAddProcessorError, kErrorPrintProcessorAlreadyInstalled);
}

bool PrinterInstaller::addPrinterDriver(const DriverInfo3& driver) {
  return additionResult(platform_.spooler.addPrinterDriver(nullptr, 3, &driver), driverCall(driver),
                        text::kAddPrinterDriverError, kErrorPrinterDriverAlreadyInstalled);
}

// What the spooler no longer needs in the printer-driver directory, from the
// directory the buffer holds: the copies', or the one asked for again.
void PrinterInstaller::cleanUpStaging(DirectoryBuffer& directory) {
  FileStaging staging(platform_.kernel, contents_.sourceFolder, log);
  for (const std::string& name : contents_.stagedFiles) staging.remove(directory, name);
}

}  // namespace qlx
