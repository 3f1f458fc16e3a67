// The steps the installation and the update share, each reading what the
// running procedure places from its contents.

#include "engine/InstallSteps.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "engine/DirectoryBuffer.h"
#include "engine/FileComparison.h"
#include "engine/InstallLog.h"
#include "engine/InstallTexts.h"
#include "engine/Names.h"
#include "engine/Reporter.h"
#include "engine/RestartSchedule.h"

namespace qlx {
namespace {

// Whether the spooler holds the library `name` loaded: a monitor or processor
// of the installation that an earlier run has registered already.
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

const char* directoryCall(Place place) {
  switch (place) {
    case Place::SystemDirectory:
      return "GetSystemDirectoryA";
    case Place::PrintProcessorDirectory:
      return "GetPrintProcessorDirectoryA";
    case Place::PrinterDriverDirectory:
      return "GetPrinterDriverDirectoryA";
    case Place::UninstallerFolder:
      return "GetWindowsDirectoryA";
  }
  return "";
}

constexpr char kUniversalDriverSource[] = "driver9x\\unidrv.dll";

}  // namespace

bool queryCopyTarget(Platform& platform, Reporter& reporter, Place place,
                     DirectoryBuffer& directory) {
  return reporter.directory(queryDirectory(platform, place, directory), directoryCall(place),
                            directory, true);
}

Placement placeShown(Platform& platform, Reporter& reporter, RestartSchedule& schedule,
                     const std::string& source, const std::string& target, bool keepExisting,
                     const std::string& reason) {
  const Placement placement =
      placeFile(platform.kernel, schedule, reporter.log(), source, target, keepExisting, reason);
  if (placement.failed()) reporter.placementFailure(placement);
  return placement;
}

Placement placeUnlessNewer(Platform& platform, Reporter& reporter, RestartSchedule& schedule,
                           const std::string& source, const std::string& target) {
  const FileStamp installed = fileStamp(platform, target);
  if (installed.present) {
    const FileStamp package = fileStamp(platform, source);
    // The rule the other way round: the installed copy is the newer one.
    if (packageIsNewer(package, installed)) {
      return placeShown(platform, reporter, schedule, source, target, true,
                        join({"installed ", installed.text(), ", package ", package.text(),
                              ": the installed file is newer"}));
    }
  }
  return placeShown(platform, reporter, schedule, source, target);
}

bool stageMonitorAndProcessor(Platform& platform, Reporter& reporter,
                              const InstallationContents& contents,
                              const InstallationSurvey& survey, RestartSchedule& schedule,
                              DirectoryBuffer& directory) {
  bool placed = true;
  for (Place where : {Place::SystemDirectory, Place::PrintProcessorDirectory}) {
    if (where == Place::PrintProcessorDirectory && contents.processorName.empty()) break;
    placed = queryCopyTarget(platform, reporter, where, directory) && placed;
    for (const std::string& name : contents.namesIn(where)) {
      const std::string source = contents.sourceFolder + name;
      if (!directory.valid) {
        reporter.line(join({"Copy ", source, ": skipped, no target directory"}));
        placed = false;
        continue;
      }
      const std::string target = directory.path(name);
      // One the spooler holds stays unless the package's is newer: replacing
      // it would wait for a restart.
      if (libraryInUse(contents, survey, name) && isFile(platform.kernel, target) &&
          !packageIsNewer(fileStamp(platform, target), fileStamp(platform, source))) {
        reporter.line(join({"Copy ", source, ": kept ", target, ", which the spooler uses"}));
        continue;
      }
      placed = !placeUnlessNewer(platform, reporter, schedule, source, target).failed() && placed;
    }
  }
  return placed;
}

bool copyDriverFiles(Platform& platform, Reporter& reporter, const InstallationContents& contents,
                     RestartSchedule& schedule, DirectoryBuffer& directory) {
  bool placed = queryCopyTarget(platform, reporter, Place::PrinterDriverDirectory, directory);
  for (const PlacedFile& file : contents.files) {
    if (file.place != Place::PrinterDriverDirectory || file.underPolicy) continue;
    const std::string source = contents.sourcePath(file);
    if (!directory.valid) {
      reporter.line(join({"Copy ", source, ": skipped, no target directory"}));
      continue;
    }
    placed = !placeUnlessNewer(platform, reporter, schedule, source, directory.path(file.name))
                  .failed() &&
             placed;
  }
  return placed;
}

// unidrv.dll is shared with other printers' drivers: it is replaced only as
// the policy allows, and unidrv.hlp follows the verdict on unidrv.dll. A file
// that is absent is always copied.
bool copyUniversalDriverFiles(Platform& platform, Reporter& reporter, OverwriteMode overwrite,
                              RestartSchedule& schedule, const DirectoryBuffer& driverDirectory,
                              bool helpFirst) {
  if (!driverDirectory.valid) return false;
  const std::string installed = driverDirectory.path("unidrv.dll");

  Comparison verdict;
  switch (static_cast<std::uint32_t>(overwrite)) {
    case kOverwriteByVersion:
      verdict = compareByVersion(platform, installed.c_str(), kUniversalDriverSource);
      verdict.description = join({"by version: ", verdict.description});
      break;
    case kOverwriteByDate:
      verdict = compareByDate(platform, installed.c_str(), kUniversalDriverSource);
      verdict.description = join({"by date: ", verdict.description});
      break;
    case kOverwriteAlways:
      verdict = {true, "always overwrite"};
      break;
    default:  // "Never overwrite", and every value the combo box cannot give
      verdict = {false, "never overwrite"};
      break;
  }
  bool placed = true;
  const char* const order[2][2] = {{"unidrv.dll", "unidrv.hlp"}, {"unidrv.hlp", "unidrv.dll"}};
  for (const char* name : order[helpFirst ? 1 : 0]) {
    placed = !placeShown(platform, reporter, schedule, join({"driver9x\\", name}),
                         driverDirectory.path(name), !verdict.newer, verdict.description)
                  .failed() &&
             placed;
  }
  return placed;
}

bool registerMonitors(Platform& platform, Reporter& reporter,
                      const InstallationContents& contents) {
  reporter.reportStep(text::kInstallMonitor);
  bool registered = true;
  for (const PlacedMonitor& monitor : contents.monitors) {
    const MonitorInfo2 info{monitor.name.c_str(), contents.environment, monitor.dllName.c_str()};
    const bool added = reporter.result(
        platform.spooler.addMonitor(nullptr, 2, &info),
        join({"AddMonitorA(", quoted(monitor.name), ", ", quoted(contents.environment), ", ",
              quoted(monitor.dllName), ")"}),
        monitor.required ? text::kAddMonitorError : nullptr, kErrorPrintMonitorAlreadyInstalled);
    // The optional companion's failure is only logged.
    registered = (added || !monitor.required) && registered;
  }
  return registered;
}

bool registerPrintProcessor(Platform& platform, Reporter& reporter,
                            const InstallationContents& contents) {
  if (contents.processorName.empty()) return true;
  reporter.reportStep(text::kInstallProcessor);
  const char* environment = contents.environment;
  return reporter.result(
      platform.spooler.addPrintProcessor(nullptr, environment, contents.processorFile.c_str(),
                                         contents.processorName.c_str()),
      join({"AddPrintProcessorA(", quoted(contents.processorName), ", ", quoted(environment), ", ",
            quoted(contents.processorFile), ")"}),
      text::kAddProcessorError, kErrorPrintProcessorAlreadyInstalled);
}

bool addPrinterDriver(Platform& platform, Reporter& reporter,
                      const InstallationContents& contents) {
  const DriverInfo3 driver = contents.driverInfo();
  return reporter.result(platform.spooler.addPrinterDriver(nullptr, 3, &driver), driverCall(driver),
                         text::kAddPrinterDriverError, kErrorPrinterDriverAlreadyInstalled);
}

void cleanUpStaging(Platform& platform, Reporter& reporter, const InstallationContents& contents,
                    const DirectoryBuffer& directory) {
  if (!directory.valid) return;
  for (const std::string& name : contents.stagedFiles) {
    deleteLogged(platform.kernel, reporter.log(), directory.path(name));
  }
}

// Copies half written or kept aside by a run that was cut short.
void clearLeftovers(Platform& platform, Reporter& reporter, const InstallationContents& contents,
                    bool complete, RestartSchedule& schedule) {
  Kernel& kernel = platform.kernel;
  DirectoryBuffer directory;
  for (Place place : {Place::SystemDirectory, Place::PrintProcessorDirectory,
                      Place::PrinterDriverDirectory, Place::UninstallerFolder}) {
    if (place == Place::PrintProcessorDirectory && contents.processorName.empty()) continue;
    if (!queryDirectory(platform, place, directory)) continue;
    for (const std::string& name : contents.namesIn(place)) {
      clearLeftovers(kernel, schedule, reporter.log(), directory.path(name));
    }
    if (place != Place::PrinterDriverDirectory || !complete) continue;
    for (const std::string& name : contents.stagedFiles) {
      if (isFile(kernel, directory.path(name))) {
        reporter.line(join({directory.path(name), ": staged by an interrupted run"}));
        deleteLogged(kernel, reporter.log(), directory.path(name));
      }
    }
  }
}

}  // namespace qlx
