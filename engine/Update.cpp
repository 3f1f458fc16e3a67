// The update: a complete installation whose package has newer files is
// brought up to the package in place. The monitor and processor libraries
// are replaced (the ones the spooler holds moved aside, or on Windows 9x
// replaced at the next start), their registrations stay; the driver's files
// are staged and the driver added again, the spooler's own way to update a
// driver that keeps every printer bound to it; the uninstaller and its
// entry follow. No printer is added, removed or changed. An installed file
// newer than the package's is never replaced, and a file that cannot be
// replaced leaves the older one working: a later run completes the update.

#include "engine/Update.h"

#include <string>

#include "engine/DirectoryBuffer.h"
#include "engine/Families.h"
#include "engine/FileComparison.h"
#include "engine/InstallLog.h"
#include "engine/InstallSteps.h"
#include "engine/InstallTexts.h"
#include "engine/InstallationSurvey.h"
#include "engine/Names.h"
#include "engine/PackageCheck.h"
#include "engine/Reporter.h"
#include "engine/Restart.h"
#include "engine/RestartSchedule.h"
#include "engine/RunSettings.h"
#include "engine/UninstallRegistration.h"

namespace qlx {
namespace {

std::string stamps(const ComparedFile& compared) {
  return join(
      {"installed ", compared.installedStamp.text(), ", package ", compared.packageStamp.text()});
}

// Every file the driver names is staged in the printer-driver directory:
// the package's copy where it is newer, else the copy in use, so that the
// spooler finds them all and never takes an older one in. On Windows 9x the
// driver's files live there: only the newer ones are placed, and the shared
// universal driver files follow the user's overwrite policy.
bool placeDriverUpdate(Platform& platform, Reporter& reporter, const RunSettings& settings,
                       const InstallationContents& contents, const UpdatePlan& plan,
                       RestartSchedule& schedule, DirectoryBuffer& directory, bool& restartNeeded) {
  Kernel& kernel = platform.kernel;
  if (!queryCopyTarget(platform, reporter, Place::PrinterDriverDirectory, directory)) return false;
  // The universal driver files first: once the driver's own are in place, a
  // run cut short here would find nothing newer to come back for.
  bool staged =
      !contents.windows9x() ||
      copyUniversalDriverFiles(platform, reporter, settings.overwrite, schedule, directory, true);
  for (const PlacedFile& file : contents.files) {
    if (file.place != Place::PrinterDriverDirectory || file.underPolicy) continue;
    const std::string target = directory.path(file.name);
    const ComparedFile* compared = plan.find(file.name, Place::PrinterDriverDirectory);
    std::string source;
    if (compared != nullptr && compared->packageNewer) {
      reporter.line(join({"Update ", compared->installed, " (", stamps(*compared), ")"}));
      source = compared->package;
    } else if (compared != nullptr && !sameName(compared->installed, target) &&
               compared->installedStamp.present) {
      source = compared->installed;
    } else if (!isFile(kernel, target)) {
      source = contents.sourcePath(file);
    } else {
      continue;  // in place already
    }
    const Placement placement = placeShown(platform, reporter, schedule, source, target);
    if (placement.failed()) staged = false;
    if (placement.needsRestart()) restartNeeded = true;
  }
  return staged;
}

}  // namespace

UpdatePlan planUpdate(Platform& platform, Reporter& reporter, const InstallationContents& contents,
                      const InstallationSurvey& survey) {
  DirectoryBuffer directories[4];
  bool known[4] = {};
  for (Place place : {Place::SystemDirectory, Place::PrintProcessorDirectory,
                      Place::PrinterDriverDirectory, Place::UninstallerFolder}) {
    const auto at = static_cast<int>(place);
    known[at] = (place != Place::PrintProcessorDirectory || !contents.processorName.empty()) &&
                queryDirectory(platform, place, directories[at]);
  }
  // The copy in use: the driver's files where the spooler lists them.
  const auto installedCopy = [&](const PlacedFile& file) -> std::string {
    if (file.place == Place::PrinterDriverDirectory) {
      for (const std::string& path : survey.driverFiles) {
        if (sameName(fileNameOf(path), file.name)) return path;
      }
    }
    const auto at = static_cast<int>(file.place);
    return known[at] ? directories[at].path(file.name) : "";
  };

  UpdatePlan plan;
  for (const PlacedFile& file : contents.files) {
    if (file.underPolicy) continue;  // the user's overwrite policy decides on these
    ComparedFile compared;
    compared.file = file;
    compared.installed = installedCopy(file);
    compared.package = contents.sourcePath(file);
    if (compared.installed.empty()) continue;
    compared.installedStamp = fileStamp(platform, compared.installed);
    compared.packageStamp = fileStamp(platform, compared.package);
    compared.packageNewer = packageIsNewer(compared.installedStamp, compared.packageStamp);
    compared.installedNewer = packageIsNewer(compared.packageStamp, compared.installedStamp);
    plan.files.push_back(std::move(compared));
  }
  for (const ComparedFile& compared : plan.files) {
    if (compared.installedNewer && compared.file.ownership == Ownership::Product) {
      reporter.line(join({"Installed file newer than the package's, kept: ", compared.installed,
                          " (", stamps(compared), ")"}));
    }
  }
  return plan;
}

InstallOutcome updateInstallation(Platform& platform, Reporter& reporter,
                                  const RunSettings& settings, const FamilySettings& family,
                                  const InstallationContents& contents, const UpdatePlan& plan) {
  InstallOutcome outcome;
  reporter.line("The installation is complete and the package has newer files: updating it");
  // A newer package with a file missing changes nothing.
  if (!checkPackage(platform, reporter, contents)) return outcome;
  RestartSchedule schedule(platform.kernel, platform.registry, contents.windows9x(),
                           reporter.log());
  bool complete = true;
  const auto replace = [&](const ComparedFile& compared, const std::string& target) {
    reporter.line(join({"Update ", target, " (", stamps(compared), ")"}));
    const Placement placement = placeShown(platform, reporter, schedule, compared.package, target);
    if (placement.failed()) complete = false;
    if (placement.needsRestart()) outcome.restartNeeded = true;
  };

  reporter.reportStep(text::kCopyFiles);
  DirectoryBuffer directory;
  // The language monitors and the print processor, where the spooler
  // loads them from.
  for (Place place : {Place::SystemDirectory, Place::PrintProcessorDirectory}) {
    if (place == Place::PrintProcessorDirectory && contents.processorName.empty()) break;
    const bool known = queryCopyTarget(platform, reporter, place, directory);
    for (const ComparedFile& compared : plan.files) {
      if (compared.file.place != place || !compared.packageNewer) continue;
      if (!known) {
        complete = false;
        continue;
      }
      replace(compared, directory.path(compared.file.name));
    }
  }

  // The driver's files, staged for the spooler, which takes in the newer
  // ones; the driver stays whole as it is when one cannot be staged.
  bool driverNewer = false;
  for (const ComparedFile& compared : plan.files) {
    driverNewer = driverNewer ||
                  (compared.packageNewer && compared.file.place == Place::PrinterDriverDirectory);
  }
  if (driverNewer) {
    const bool staged = placeDriverUpdate(platform, reporter, settings, contents, plan, schedule,
                                          directory, outcome.restartNeeded);
    reporter.reportStep(text::kInstallDriver);
    if (!staged) {
      reporter.line("The driver stays as it is: a file of it could not be staged");
      complete = false;
    } else if (!addPrinterDriver(platform, reporter, contents)) {
      complete = false;
    }
    if (!contents.stagedFiles.empty()) {
      reporter.reportStep(text::kDeleteInstalledFiles);
      cleanUpStaging(platform, reporter, contents, directory);
    }
  }

  // The uninstaller and its entry, as the package has them.
  const bool entry = writeUninstallEntry(platform, reporter);
  if (!placeUninstallerFiles(platform, reporter, schedule, &plan) || !entry) complete = false;

  outcome.updated = true;
  reporter.reportCompletion(family.completionPauseMs);
  if (outcome.restartNeeded) {
    outcome.restartRequested = offerRestart(platform, reporter, settings.restart, family);
  }
  outcome.result = complete ? InstallResult::Completed : InstallResult::Incomplete;
  return outcome;
}

}  // namespace qlx
