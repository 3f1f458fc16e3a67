// Removal: what an installation placed, taken away in the reverse order of
// installing: the printers that use the driver (their queued jobs first),
// the driver, the print processor, the language monitor, the product's own
// files (never the shared universal driver files), the uninstaller's folder
// and the uninstall entry. Nothing goes that something left in place still
// needs: a printer that stays keeps its driver, the driver its monitor and
// its files, and the entry stays so that the removal can be tried again.

#include "engine/Removal.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "engine/DirectoryBuffer.h"
#include "engine/Families.h"
#include "engine/FilePlacement.h"
#include "engine/InstallLog.h"
#include "engine/InstallTexts.h"
#include "engine/Names.h"
#include "engine/Reporter.h"
#include "engine/Restart.h"
#include "engine/RestartSchedule.h"
#include "engine/RunRecord.h"
#include "engine/RunSettings.h"
#include "engine/UninstallEntry.h"

namespace qlx {
namespace {

enum class FileRemoval { Gone, AtRestart, Failed };

// Queued jobs would keep the printer, and with it the driver, until they
// were printed.
bool removePrinter(Platform& platform, Reporter& reporter, const std::string& name) {
  Spooler& spooler = platform.spooler;
  PrinterDefaults defaults{nullptr, nullptr, kPrinterAllAccess};
  PrinterHandle printer = 0;
  const std::string opening = join({"OpenPrinterA(", quoted(name), ", all access)"});
  if (!spooler.openPrinter(name.c_str(), &printer, &defaults)) {
    // One that another program removed meanwhile is gone all the same.
    return reporter.result(false, opening, text::kOpenPrinterError, kErrorInvalidPrinterName);
  }
  reporter.result(spooler.setPrinter(printer, 0, nullptr, kPrinterControlPurge),
                  join({"SetPrinterA(", quoted(name), ", purge)"}), nullptr);
  const bool deleted =
      reporter.result(spooler.deletePrinter(printer), join({"DeletePrinter(", quoted(name), ")"}),
                      text::kDeletePrinterError);
  spooler.closePrinter(printer);
  return deleted;
}

// A library the spooler still holds goes when Windows starts again: on
// Windows NT it is moved aside at once, so that its name is free.
FileRemoval removeFile(Platform& platform, Reporter& reporter, RestartSchedule& schedule,
                       const std::string& path) {
  Kernel& kernel = platform.kernel;
  Dword error = kErrorSuccess;
  if (deleteLogged(kernel, reporter.log(), path, &error) != DeleteOutcome::Failed) {
    return FileRemoval::Gone;
  }
  if (isInUse(error)) {
    Dword asideError = kErrorSuccess;
    const std::string aside = schedule.windows9x() ? "" : moveAside(kernel, path, asideError);
    const std::string& doomed = aside.empty() ? path : aside;
    Dword scheduleError = kErrorSuccess;
    if (schedule.deleteAtRestart(doomed, scheduleError)) {
      reporter.line(join({"Delete ", path, ": in use, deleted when Windows starts again"}));
      return FileRemoval::AtRestart;
    }
    if (!aside.empty()) {
      // Its name is free; the copy aside is what stays behind.
      reporter.quietFailure(join({"Delete ", path, ": moved aside; ", aside,
                                  " is left behind, its deletion at the next start"}),
                            scheduleError);
      return FileRemoval::Gone;
    }
    reporter.quietFailure(join({"Delete ", path, " at the next start"}), scheduleError);
  }
  reporter.failure(join({"Delete ", path}), join({text::kDeleteFileError, path}).c_str(), error);
  return FileRemoval::Failed;
}

// The folder goes only when nothing but the uninstaller's files was in it.
bool removeUninstallerFiles(Platform& platform, Reporter& reporter, RestartSchedule& schedule) {
  Kernel& kernel = platform.kernel;
  DirectoryBuffer windows;
  if (!queryWindowsDirectory(kernel, windows)) return true;
  bool removed = true;
  const std::string folder = uninstallerFolder(windows);
  for (const char* file : uninstall::kFiles) {
    const std::string path = join({folder, "\\", file});
    clearLeftovers(kernel, schedule, reporter.log(), path);
    Dword error = kErrorSuccess;
    if (deleteLogged(kernel, reporter.log(), path, &error) == DeleteOutcome::Failed) {
      reporter.failure(join({"Delete ", path}), join({text::kDeleteFileError, path}).c_str(),
                       error);
      removed = false;
    }
  }
  const bool folderRemoved = kernel.removeDirectory(folder.c_str());
  const Dword error = folderRemoved ? kErrorSuccess : kernel.getLastError();
  if (folderRemoved) {
    reporter.line(join({"Remove folder ", folder, ": removed"}));
  } else {
    reporter.quietFailure(join({"Remove folder ", folder, " (kept)"}), error);
  }
  return removed;
}

bool removeUninstallKey(Platform& platform, Reporter& reporter) {
  const Long result = platform.registry.regDeleteKey(kHKeyLocalMachine, uninstall::kKey);
  const std::string what = join({"Delete uninstall key HKLM\\", uninstall::kKey});
  if (result == kRegSuccess || static_cast<Dword>(result) == kErrorFileNotFound) {
    reporter.line(join({what, result == kRegSuccess ? ": deleted" : ": not there"}));
    return true;
  }
  reporter.failure(what, text::kDeleteKeyError, static_cast<Dword>(result));
  return false;
}

}  // namespace

RemovalPlan planRemoval(Platform& platform, Reporter& reporter, const FamilySettings& family,
                        InstallationContents placed) {
  Kernel& kernel = platform.kernel;
  RemovalPlan plan;
  plan.contents = std::move(placed);
  const InstallationContents& contents = plan.contents;
  reporter.reportStep(family.checkText);
  plan.survey = surveyInstallation(platform, reporter, family, contents);
  if (!plan.survey.driverListed) return plan;

  const std::optional<std::vector<std::string>> printers =
      printersUsingDriver(platform, reporter, contents.driver.name);
  plan.printersListed = printers.has_value();
  if (printers) plan.printers = *printers;
  if (plan.survey.processorRegistered) {
    const std::optional<std::vector<std::string>> users =
        printersUsingProcessor(platform, reporter, contents.processorName);
    // A list that cannot be read keeps the print processor: it may be in use.
    if (!users) plan.otherProcessorUsers.push_back("the printers cannot be listed");
    for (const std::string& name : users.value_or(std::vector<std::string>{})) {
      if (std::none_of(plan.printers.begin(), plan.printers.end(),
                       [&](const std::string& ours) { return sameName(ours, name); })) {
        plan.otherProcessorUsers.push_back(join({"the printer ", quoted(name), " uses it"}));
      }
    }
  }

  // The product's own files wherever an installation put them: the
  // directories it copied to, and the folder the spooler keeps the driver
  // in; with the copies an interrupted run left beside them.
  std::vector<RemovalFile> candidates;
  DirectoryBuffer directory;
  const auto ownIn = [&](Place place) {
    for (const PlacedFile& file : contents.files) {
      if (file.place == place && file.ownership == Ownership::Product) {
        candidates.push_back({directory.path(file.name), place});
      }
    }
  };
  for (Place place :
       {Place::SystemDirectory, Place::PrintProcessorDirectory, Place::PrinterDriverDirectory}) {
    if (queryDirectory(platform, place, directory)) ownIn(place);
  }
  // Where the spooler kept the driver's files; a removal cut short after the
  // driver went left them there unlisted.
  if (directory.valid) {
    const std::string root(directory.bytes);
    for (const char* version : {"\\0", "\\2", "\\3"}) {
      for (const PlacedFile& file : contents.files) {
        if (file.place == Place::PrinterDriverDirectory && file.ownership == Ownership::Product) {
          candidates.push_back({join({root, version, "\\", file.name}), file.place});
        }
      }
    }
  }
  for (const std::string& path : plan.survey.driverFiles) {
    for (const PlacedFile& file : contents.files) {
      if (file.ownership == Ownership::Product && file.place == Place::PrinterDriverDirectory &&
          sameName(fileNameOf(path), file.name)) {
        candidates.push_back({path, Place::PrinterDriverDirectory});
      }
    }
  }
  for (std::size_t i = 0, own = candidates.size(); i < own; ++i) {
    for (const char* suffix : {kNewCopySuffix, kAsideSuffix}) {
      candidates.push_back({candidates[i].path + suffix, candidates[i].place});
    }
  }
  const auto listedIn = [&](const std::vector<std::string>& paths, const std::string& path) {
    return std::any_of(paths.begin(), paths.end(),
                       [&](const std::string& listed) { return sameName(listed, path); });
  };
  for (const RemovalFile& candidate : candidates) {
    const bool listed =
        std::any_of(plan.files.begin(), plan.files.end(),
                    [&](const RemovalFile& f) { return sameName(f.path, candidate.path); });
    if (listed || !isFile(kernel, candidate.path)) continue;
    // Another driver's file stays, whoever placed it.
    if (listedIn(plan.survey.otherDriversFiles, candidate.path)) {
      reporter.line(join({"Keep ", candidate.path, ": another driver lists it"}));
      continue;
    }
    plan.files.push_back(candidate);
  }

  plan.uninstallerFolder = queryDirectory(platform, Place::UninstallerFolder, directory) &&
                           kernel.getFileAttributes(directory.bytes) != kInvalidFileAttributes;

  reporter.line(join({"Removal: ", std::to_string(plan.printers.size()), " printers, ",
                      std::to_string(plan.files.size()), " files of the product",
                      plan.nothing() ? ": nothing of the driver is installed" : ""}));
  return plan;
}

RemovalResult removeInstallation(Platform& platform, Reporter& reporter,
                                 const RunSettings& settings, const FamilySettings& family,
                                 const RemovalPlan& plan) {
  const InstallationContents& contents = plan.contents;
  const std::string& driverName = contents.driver.name;
  const std::string& processorName = contents.processorName;
  Spooler& spooler = platform.spooler;
  const char* environment = contents.environment;
  RemovalResult result;
  bool restartNeeded = false;
  RestartSchedule schedule(platform.kernel, platform.registry, contents.windows9x(),
                           reporter.log());
  std::vector<std::string> stayed;
  const auto notTried = [&](const std::string& call, const char* because) {
    reporter.line(join({call, ": not tried, ", because}));
  };

  if (!recordRunUnderWay(platform, reporter, RunUnderWay::Removal)) return result;

  reporter.reportStep(text::kRemovePrinters);
  bool printersGone = plan.printersListed;
  if (!plan.printersListed) {
    stayed.push_back("the printers, which cannot be listed");
  }
  for (const std::string& name : plan.printers) {
    if (removePrinter(platform, reporter, name)) continue;
    printersGone = false;
    stayed.push_back(join({"the printer ", quoted(name)}));
  }

  reporter.reportStep(text::kRemoveDriver);
  bool driverGone = !plan.survey.driver;
  const std::string driverCall = join({"DeletePrinterDriverA(", quoted(driverName), ")"});
  if (plan.survey.driver && printersGone) {
    driverGone =
        reporter.result(spooler.deletePrinterDriver(nullptr, environment, driverName.c_str()),
                        driverCall, text::kDeleteDriverError, kErrorUnknownPrinterDriver);
  } else if (plan.survey.driver) {
    notTried(driverCall, "a printer that stays uses the driver");
  }
  if (!driverGone) stayed.push_back("the printer driver");

  bool processorGone = !plan.survey.processorRegistered;
  if (!contents.processorName.empty()) {
    reporter.reportStep(text::kRemoveProcessor);
    const std::string call = join({"DeletePrintProcessorA(", quoted(processorName), ")"});
    if (plan.survey.processorRegistered && !plan.otherProcessorUsers.empty()) {
      // Not the product's alone any more: it stays, and that is no failure.
      reporter.line(join({"Keep ", quoted(processorName), ": ", plan.otherProcessorUsers.front()}));
    } else if (plan.survey.processorRegistered && printersGone) {
      processorGone =
          reporter.result(spooler.deletePrintProcessor(nullptr, environment, processorName.c_str()),
                          call, text::kDeleteProcessorError, kErrorUnknownPrintProcessor);
    } else if (plan.survey.processorRegistered) {
      notTried(call, "a printer that stays uses the print processor");
    }
    if (!processorGone && plan.otherProcessorUsers.empty()) stayed.push_back("the print processor");
  }

  reporter.reportStep(text::kRemoveMonitor);
  bool monitorGone = true;
  for (const PlacedMonitor& monitor : contents.monitors) {
    const bool registered =
        std::find(plan.survey.registeredMonitors.begin(), plan.survey.registeredMonitors.end(),
                  monitor.name) != plan.survey.registeredMonitors.end();
    // A shared monitor may serve other printers: it stays.
    if (monitor.ownership != Ownership::Product || !registered) continue;
    const std::string call = join({"DeleteMonitorA(", quoted(monitor.name), ")"});
    bool gone = false;
    if (driverGone) {
      gone = reporter.result(spooler.deleteMonitor(nullptr, environment, monitor.name.c_str()),
                             call, text::kDeleteMonitorError, kErrorUnknownPrintMonitor);
    } else {
      notTried(call, "the driver that stays names the monitor");
    }
    if (!gone) {
      monitorGone = false;
      stayed.push_back("the language monitor");
    }
  }

  // A file goes only with what it belongs to.
  reporter.reportStep(text::kDeleteFiles);
  for (const RemovalFile& file : plan.files) {
    const bool ownerGone = file.place == Place::SystemDirectory           ? monitorGone
                           : file.place == Place::PrintProcessorDirectory ? processorGone
                                                                          : driverGone;
    if (!ownerGone) {
      reporter.line(join({"Keep ", file.path, ": what it belongs to stays"}));
      continue;
    }
    switch (removeFile(platform, reporter, schedule, file.path)) {
      case FileRemoval::Gone:
        break;
      case FileRemoval::AtRestart:
        restartNeeded = true;
        break;
      case FileRemoval::Failed:
        stayed.push_back(file.path);
        break;
    }
  }

  reporter.reportStep(text::kRemoveEntry);
  if (stayed.empty()) {
    const bool filesGone = removeUninstallerFiles(platform, reporter, schedule);
    if (!removeUninstallKey(platform, reporter) || !filesGone) {
      stayed.push_back("the uninstall entry");
    }
  } else {
    reporter.line("Keep the uninstall entry and the uninstaller: the removal can be tried again");
  }

  clearRunUnderWay(platform, reporter);
  reporter.reportCompletion(family.completionPauseMs);
  if (!stayed.empty()) {
    std::string list;
    for (const std::string& what : stayed) list += join({"\n", what});
    reporter.problem(join({text::kRemovalIncomplete, list}));
    return result;
  }
  result.outcome = restartNeeded ? RemovalOutcome::RestartNeeded : RemovalOutcome::Removed;
  if (restartNeeded) {
    result.restartRequested = offerRestart(platform, reporter, settings.restart, family);
  }
  return result;
}

}  // namespace qlx
