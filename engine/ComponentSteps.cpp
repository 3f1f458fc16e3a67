// The steps the three component installations share, each reading what the
// running procedure places from its contents.

#include <algorithm>
#include <string>

#include "engine/DirectoryBuffer.h"
#include "engine/FilePlacement.h"
#include "engine/InstallFamily.h"
#include "engine/InstallLog.h"
#include "engine/PrinterInstaller.h"
#include "engine/RestartSchedule.h"
#include "engine/SameName.h"
#include "engine/UninstallEntry.h"

namespace qlx {
namespace {

// Whether the spooler holds the library `name` loaded: a monitor or processor
// of the installation that a failed run has registered already.
bool libraryInUse(const InstallationContents& contents, const InstallationSurvey& survey,
                  const std::string& name) {
  if (!contents.processorName.empty() && sameName(name, contents.processorFile)) {
    return survey.processor;
  }
  return std::any_of(
      contents.monitors.begin(), contents.monitors.end(), [&](const PlacedMonitor& monitor) {
        return sameName(name, monitor.dllName) &&
               std::find(survey.registeredMonitors.begin(), survey.registeredMonitors.end(),
                         monitor.name) != survey.registeredMonitors.end();
      });
}

}  // namespace

InstallationContents PrinterInstaller::monitorAndProcessor(const char* sourceFolder,
                                                           const char* environment,
                                                           bool withUsbMonitor) const {
  InstallationContents contents;
  contents.sourceFolder = sourceFolder;
  contents.environment = environment;
  contents.files.push_back({monitorFile, Place::SystemDirectory, Ownership::Product});
  contents.monitors.push_back({monitorName, monitorFile, Ownership::Product, true});
  if (withUsbMonitor) {
    // An optional companion other USB printers use too: its failure is only logged.
    contents.files.push_back({"usbmon.dll", Place::SystemDirectory, Ownership::Shared});
    contents.monitors.push_back({"usbmon.dll", "usbmon.DLL", Ownership::Shared, false});
  }
  if (hasPrintProcessor) {
    contents.files.push_back({processorFile, Place::PrintProcessorDirectory, Ownership::Product});
    contents.processorName = processorName;
    contents.processorFile = processorFile;
  }
  contents.driver.name = printerName;
  return contents;
}

void PrinterInstaller::addDriverFiles(
    InstallationContents& contents,
    std::initializer_list<std::pair<std::string, Ownership>> files) {
  for (const auto& [name, ownership] : files) {
    contents.files.push_back({name, Place::PrinterDriverDirectory, ownership});
  }
}

void PrinterInstaller::addUninstallerFiles(InstallationContents& contents) {
  for (const char* name : uninstall::kFiles) {
    contents.files.push_back({name, Place::UninstallerFolder, Ownership::Product});
  }
}

// Every family the same way: the libraries where the spooler loads them,
// their registrations, then the driver's files and the driver.
InstallResult PrinterInstaller::installComponents(const FamilySettings& family,
                                                  const InstallationContents& contents,
                                                  const InstallationSurvey& survey,
                                                  RestartSchedule& schedule,
                                                  DirectoryBuffer& directory) {
  bool placed = stageMonitorAndProcessor(contents, survey, schedule, directory);

  registerMonitors(contents);
  registerPrintProcessor(contents);

  reportStep(text::kCopyFiles);
  placed = copyDriverFiles(contents, schedule, directory) && placed;
  if (contents.windows9x()) placed = copyUniversalDriverFiles(schedule, directory) && placed;

  reportStep(text::kInstallDriver);
  if (!addPrinterDriver(contents) && family.driverFailureIsFatal) return InstallResult::FatalError;
  return placed ? InstallResult::Completed : InstallResult::Incomplete;
}

// The monitors go to the system directory and the print processor to its own
// directory, where the spooler loads them from; neither is staged. A library
// the spooler holds for a failed run's registration stays, unless the
// package's copy is newer (an update that was cut short).
bool PrinterInstaller::stageMonitorAndProcessor(const InstallationContents& contents,
                                                const InstallationSurvey& survey,
                                                RestartSchedule& schedule,
                                                DirectoryBuffer& directory) {
  Kernel& kernel = platform_.kernel;
  bool placed = true;
  const auto place = [&](const std::string& name) {
    const std::string source = contents.sourceFolder + name;
    if (!directory.valid) {
      logLine(join({"Copy ", source, ": skipped, no target directory"}));
      placed = false;
      return;
    }
    const std::string target = directory.path(name);
    if (libraryInUse(contents, survey, name) && isFile(kernel, target) &&
        !packageIsNewer(fileStamp(target), fileStamp(source))) {
      logLine(join({"Copy ", source, ": kept ", target, ", which the spooler uses"}));
      return;
    }
    placed = !placeShown(schedule, source, directory.path(name)).failed() && placed;
  };

  placed =
      copyTargetResult(querySystemDirectory(kernel, directory), "GetSystemDirectoryA", directory) &&
      placed;
  for (const std::string& name : contents.namesIn(Place::SystemDirectory)) place(name);
  if (contents.processorName.empty()) return placed;
  placed = copyTargetResult(queryPrintProcessorDirectory(platform_.spooler, directory),
                            "GetPrintProcessorDirectoryA", directory) &&
           placed;
  for (const std::string& name : contents.namesIn(Place::PrintProcessorDirectory)) place(name);
  return placed;
}

// Every file for the printer-driver directory but those the overwrite
// policy decides on.
bool PrinterInstaller::copyDriverFiles(const InstallationContents& contents,
                                       RestartSchedule& schedule, DirectoryBuffer& directory) {
  bool placed = copyTargetResult(queryPrinterDriverDirectory(platform_.spooler, directory),
                                 "GetPrinterDriverDirectoryA", directory);
  for (const PlacedFile& file : contents.files) {
    if (file.place != Place::PrinterDriverDirectory || file.underPolicy) continue;
    const std::string source = contents.sourcePath(file);
    if (!directory.valid) {
      logLine(join({"Copy ", source, ": skipped, no target directory"}));
      continue;
    }
    placed = !placeShown(schedule, source, directory.path(file.name)).failed() && placed;
  }
  return placed;
}

Placement PrinterInstaller::placeShown(RestartSchedule& schedule, const std::string& source,
                                       const std::string& target, bool keepExisting,
                                       const std::string& reason) {
  const Placement placement =
      placeFile(platform_.kernel, schedule, log, source, target, keepExisting, reason);
  if (placement.failed()) reportPlacementFailure(placement);
  return placement;
}

// A monitor or processor registered by an earlier, failed run is there
// already: no failure.
void PrinterInstaller::registerMonitors(const InstallationContents& contents) {
  reportStep(text::kInstallMonitor);
  for (const PlacedMonitor& monitor : contents.monitors) {
    const MonitorInfo2 info{monitor.name.c_str(), contents.environment, monitor.dllName.c_str()};
    additionResult(platform_.spooler.addMonitor(nullptr, 2, &info),
                   join({"AddMonitorA(", quoted(monitor.name), ", ", quoted(contents.environment),
                         ", ", quoted(monitor.dllName), ")"}),
                   monitor.required ? text::kAddMonitorError : nullptr,
                   kErrorPrintMonitorAlreadyInstalled);
  }
}

void PrinterInstaller::registerPrintProcessor(const InstallationContents& contents) {
  if (contents.processorName.empty()) return;
  reportStep(text::kInstallProcessor);
  const char* environment = contents.environment;
  additionResult(
      platform_.spooler.addPrintProcessor(nullptr, environment, contents.processorFile.c_str(),
                                          contents.processorName.c_str()),
      join({"AddPrintProcessorA(", quoted(contents.processorName), ", ", quoted(environment), ", ",
            quoted(contents.processorFile), ")"}),
      text::kAddProcessorError, kErrorPrintProcessorAlreadyInstalled);
}

bool PrinterInstaller::addPrinterDriver(const InstallationContents& contents) {
  const DriverInfo3 driver = contents.driverInfo();
  return additionResult(platform_.spooler.addPrinterDriver(nullptr, 3, &driver), driverCall(driver),
                        text::kAddPrinterDriverError, kErrorPrinterDriverAlreadyInstalled);
}

// What the spooler no longer needs in the printer-driver directory, from the
// directory the buffer holds: the copies', or the one asked for again.
void PrinterInstaller::cleanUpStaging(const InstallationContents& contents,
                                      const DirectoryBuffer& directory) {
  if (!directory.valid) return;
  for (const std::string& name : contents.stagedFiles) {
    deleteLogged(platform_.kernel, log, directory.path(name));
  }
}

}  // namespace qlx
