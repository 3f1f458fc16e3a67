// The update: a complete installation whose package has newer files is
// brought up to the package in place. The monitor and processor libraries
// are replaced (the ones the spooler holds moved aside, or on Windows 9x
// replaced at the next start), their registrations stay; the driver's files
// are staged and the driver added again, the spooler's own way to update a
// driver that keeps every printer bound to it; the uninstaller and its
// entry follow. No printer is added, removed or changed. An installed file
// newer than the package's is never replaced, and a file that cannot be
// replaced leaves the older one working: a later run completes the update.

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

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string stamps(const ComparedFile& compared) {
  return join(
      {"installed ", compared.installedStamp.text(), ", package ", compared.packageStamp.text()});
}

}  // namespace

UpdatePlan PrinterInstaller::planUpdate(const InstallationContents& contents,
                                        const InstallationSurvey& survey) {
  Kernel& kernel = platform_.kernel;
  DirectoryBuffer system, processors, drivers, windows;
  const bool systemKnown = querySystemDirectory(kernel, system);
  const bool processorsKnown = !contents.processorName.empty() &&
                               queryPrintProcessorDirectory(platform_.spooler, processors);
  const bool driversKnown = queryPrinterDriverDirectory(platform_.spooler, drivers);
  const bool windowsKnown = queryWindowsDirectory(kernel, windows);
  // The copy in use: the driver's files where the spooler lists them.
  const auto installedCopy = [&](const PlacedFile& file) -> std::string {
    switch (file.place) {
      case Place::SystemDirectory:
        return systemKnown ? system.path(file.name) : "";
      case Place::PrintProcessorDirectory:
        return processorsKnown ? processors.path(file.name) : "";
      case Place::PrinterDriverDirectory:
        for (const std::string& path : survey.driverFiles) {
          if (sameName(fileNameOf(path), file.name)) return path;
        }
        return driversKnown ? drivers.path(file.name) : "";
      case Place::UninstallerFolder:
        return windowsKnown ? join({windows.bytes, uninstall::kFolder, "\\", file.name}) : "";
    }
    return "";
  };

  UpdatePlan plan;
  for (const PlacedFile& file : contents.files) {
    if (file.underPolicy) continue;  // the user's overwrite policy decides on these
    ComparedFile compared;
    compared.file = file;
    compared.installed = installedCopy(file);
    compared.package = contents.sourcePath(file);
    if (compared.installed.empty()) continue;
    compared.installedStamp = fileStamp(compared.installed);
    compared.packageStamp = fileStamp(compared.package);
    compared.packageNewer = packageIsNewer(compared.installedStamp, compared.packageStamp);
    compared.installedNewer = packageIsNewer(compared.packageStamp, compared.installedStamp);
    plan.files.push_back(std::move(compared));
  }
  for (const ComparedFile& compared : plan.files) {
    if (compared.installedNewer && compared.file.ownership == Ownership::Product) {
      logLine(join({"Installed file newer than the package's, kept: ", compared.installed, " (",
                    stamps(compared), ")"}));
    }
  }
  return plan;
}

InstallResult PrinterInstaller::updateInstallation(const FamilySettings& family,
                                                   const InstallationContents& contents,
                                                   const UpdatePlan& plan) {
  logLine("The installation is complete and the package has newer files: updating it");
  // A newer package with a file missing changes nothing.
  if (!checkPackage(contents)) return InstallResult::FatalError;
  RestartSchedule schedule(platform_.kernel, platform_.registry, contents.windows9x(), log);
  bool complete = true;
  const auto replace = [&](const ComparedFile& compared, const std::string& target) {
    logLine(join({"Update ", target, " (", stamps(compared), ")"}));
    const Placement placement = placeShown(schedule, compared.package, target);
    if (placement.failed()) complete = false;
    if (placement.needsRestart()) restartNeeded = true;
  };

  reportStep(text::kCopyFiles);
  DirectoryBuffer directory;
  // The language monitors and the print processor, where the spooler
  // loads them from.
  const auto replaceIn = [&](Place place, bool known) {
    for (const ComparedFile& compared : plan.files) {
      if (compared.file.place != place || !compared.packageNewer) continue;
      if (!known) {
        complete = false;
        continue;
      }
      replace(compared, directory.path(compared.file.name));
    }
  };
  replaceIn(Place::SystemDirectory,
            copyTargetResult(querySystemDirectory(platform_.kernel, directory),
                             "GetSystemDirectoryA", directory));
  if (!contents.processorName.empty()) {
    replaceIn(Place::PrintProcessorDirectory,
              copyTargetResult(queryPrintProcessorDirectory(platform_.spooler, directory),
                               "GetPrintProcessorDirectoryA", directory));
  }

  // The driver's files, staged for the spooler, which takes in the newer
  // ones; the driver stays whole as it is when one cannot be staged.
  bool driverNewer = false;
  for (const ComparedFile& compared : plan.files) {
    driverNewer = driverNewer ||
                  (compared.packageNewer && compared.file.place == Place::PrinterDriverDirectory);
  }
  if (driverNewer) {
    const bool staged = placeDriverUpdate(contents, plan, schedule, directory);
    reportStep(text::kInstallDriver);
    if (!staged) {
      logLine("The driver stays as it is: a file of it could not be staged");
      complete = false;
    } else if (!addPrinterDriver(contents)) {
      complete = false;
    }
    if (!contents.stagedFiles.empty()) {
      reportStep(text::kDeleteInstalledFiles);
      cleanUpStaging(contents, directory);
    }
  }

  // The uninstaller and its entry, as the package has them.
  const bool entry = writeUninstallEntry();
  if (!placeUninstallerFiles(schedule, &plan) || !entry) complete = false;

  updated = true;
  reportCompletion(family.completionPauseMs);
  if (restartNeeded) offerRestart(family);
  return complete ? InstallResult::Completed : InstallResult::Incomplete;
}

// Every file the driver names is staged in the printer-driver directory:
// the package's copy where it is newer, else the copy in use, so that the
// spooler finds them all and never takes an older one in. On Windows 9x the
// driver's files live there: only the newer ones are placed, and the shared
// universal driver files follow the user's overwrite policy.
bool PrinterInstaller::placeDriverUpdate(const InstallationContents& contents,
                                         const UpdatePlan& plan, RestartSchedule& schedule,
                                         DirectoryBuffer& directory) {
  Kernel& kernel = platform_.kernel;
  if (!copyTargetResult(queryPrinterDriverDirectory(platform_.spooler, directory),
                        "GetPrinterDriverDirectoryA", directory)) {
    return false;
  }
  // The universal driver files first: once the driver's own are in place, a
  // run cut short here would find nothing newer to come back for.
  bool staged = !contents.windows9x() || copyUniversalDriverFiles(schedule, directory, true);
  for (const PlacedFile& file : contents.files) {
    if (file.place != Place::PrinterDriverDirectory || file.underPolicy) continue;
    const std::string target = directory.path(file.name);
    const ComparedFile* compared = plan.find(file.name, Place::PrinterDriverDirectory);
    std::string source;
    if (compared != nullptr && compared->packageNewer) {
      logLine(join({"Update ", compared->installed, " (", stamps(*compared), ")"}));
      source = compared->package;
    } else if (compared != nullptr && !sameName(compared->installed, target) &&
               compared->installedStamp.present) {
      source = compared->installed;
    } else if (!isFile(kernel, target)) {
      source = contents.sourcePath(file);
    } else {
      continue;  // in place already
    }
    const Placement placement = placeShown(schedule, source, target);
    if (placement.failed()) staged = false;
    if (placement.needsRestart()) restartNeeded = true;
  }
  return staged;
}

}  // namespace qlx
