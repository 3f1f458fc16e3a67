// Removal: what an installation placed, taken away in the reverse order of
// installing: the printers that use the driver (their queued jobs first),
// the driver, the print processor, the language monitor, the product's own
// files (never the shared universal driver files), the uninstaller's folder
// and the uninstall entry. Nothing goes that something left in place still
// needs: a printer that stays keeps its driver, the driver its monitor and
// its files, and the entry stays so that the removal can be tried again.

#include "engine/Removal.h"

#include <algorithm>

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

}  // namespace

RemovalPlan PrinterInstaller::planRemoval(OsKind kind) {
  Kernel& kernel = platform_.kernel;
  loggedBarPosition_ = 0;
  RemovalPlan plan;
  plan.kind = kind;
  plan.contents = contentsFor(kind);
  const InstallationContents& contents = plan.contents;
  reportStep(familyFor(kind).checkText);
  if (!findDriver(familyFor(kind).enumLevel, plan.survey)) return plan;
  surveyComponents(contents, plan.survey);

  const std::optional<std::vector<std::string>> printers = printersUsingDriver(&plan.printersError);
  plan.printersListed = printers.has_value();
  if (printers) plan.printers = *printers;

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
  if (querySystemDirectory(kernel, directory)) ownIn(Place::SystemDirectory);
  if (queryPrintProcessorDirectory(platform_.spooler, directory)) {
    ownIn(Place::PrintProcessorDirectory);
  }
  if (queryPrinterDriverDirectory(platform_.spooler, directory)) {
    ownIn(Place::PrinterDriverDirectory);
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
  for (const RemovalFile& candidate : candidates) {
    const bool listed =
        std::any_of(plan.files.begin(), plan.files.end(),
                    [&](const RemovalFile& f) { return sameName(f.path, candidate.path); });
    if (!listed && isFile(kernel, candidate.path)) plan.files.push_back(candidate);
  }

  DirectoryBuffer windows;
  plan.uninstallerFolder =
      queryWindowsDirectory(kernel, windows) &&
      kernel.getFileAttributes(join({windows.bytes, uninstall::kFolder}).c_str()) !=
          kInvalidFileAttributes;

  logLine(join({"Removal: ", std::to_string(plan.printers.size()), " printers, ",
                std::to_string(plan.files.size()), " files of the product",
                plan.nothing() ? ": nothing of the driver is installed" : ""}));
  return plan;
}

RemovalOutcome PrinterInstaller::removeInstallation(const RemovalPlan& plan) {
  const InstallationContents& contents = plan.contents;
  const FamilySettings& family = familyFor(plan.kind);
  Spooler& spooler = platform_.spooler;
  const char* environment = contents.environment;
  freshInstallation = updated = restartNeeded = restartRequested = false;
  RestartSchedule schedule(platform_.kernel, platform_.registry, contents.windows9x(), log);
  std::vector<std::string> stayed;
  const auto notTried = [&](const std::string& call, const char* because) {
    logLine(join({call, ": not tried, ", because}));
  };

  reportStep(text::kRemovePrinters);
  bool printersGone = plan.printersListed;
  if (!plan.printersListed) {
    showFailure("EnumPrintersA(local, level 2)", text::kEnumPrintersError, plan.printersError);
    stayed.push_back("the printers, which cannot be listed");
  }
  for (const std::string& name : plan.printers) {
    if (removePrinter(name)) continue;
    printersGone = false;
    stayed.push_back(join({"the printer ", quoted(name)}));
  }

  reportStep(text::kRemoveDriver);
  bool driverGone = !plan.survey.driver;
  const std::string driverCall = join({"DeletePrinterDriverA(", quoted(printerName), ")"});
  if (plan.survey.driver && printersGone) {
    driverGone =
        removalResult(spooler.deletePrinterDriver(nullptr, environment, printerName.c_str()),
                      driverCall, text::kDeleteDriverError, kErrorUnknownPrinterDriver);
  } else if (plan.survey.driver) {
    notTried(driverCall, "a printer that stays uses the driver");
  }
  if (!driverGone) stayed.push_back("the printer driver");

  bool processorGone = !plan.survey.processorRegistered;
  if (!contents.processorName.empty()) {
    reportStep(text::kRemoveProcessor);
    const std::string call = join({"DeletePrintProcessorA(", quoted(processorName), ")"});
    if (plan.survey.processorRegistered && printersGone) {
      processorGone =
          removalResult(spooler.deletePrintProcessor(nullptr, environment, processorName.c_str()),
                        call, text::kDeleteProcessorError, kErrorUnknownPrintProcessor);
    } else if (plan.survey.processorRegistered) {
      notTried(call, "a printer that stays uses the print processor");
    }
    if (!processorGone) stayed.push_back("the print processor");
  }

  reportStep(text::kRemoveMonitor);
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
      gone = removalResult(spooler.deleteMonitor(nullptr, environment, monitor.name.c_str()), call,
                           text::kDeleteMonitorError, kErrorUnknownPrintMonitor);
    } else {
      notTried(call, "the driver that stays names the monitor");
    }
    if (!gone) {
      monitorGone = false;
      stayed.push_back("the language monitor");
    }
  }

  // A file goes only with what it belongs to.
  reportStep(text::kDeleteFiles);
  for (const RemovalFile& file : plan.files) {
    const bool ownerGone = file.place == Place::SystemDirectory           ? monitorGone
                           : file.place == Place::PrintProcessorDirectory ? processorGone
                                                                          : driverGone;
    if (!ownerGone) {
      logLine(join({"Keep ", file.path, ": what it belongs to stays"}));
      continue;
    }
    switch (removeFile(schedule, file.path)) {
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

  reportStep(text::kRemoveEntry);
  if (stayed.empty()) {
    const bool filesGone = removeUninstallerFiles(schedule);
    if (!removeUninstallKey() || !filesGone) stayed.push_back("the uninstall entry");
  } else {
    logLine("Keep the uninstall entry and the uninstaller: the removal can be tried again");
  }

  reportCompletion(family.completionPauseMs);
  if (!stayed.empty()) {
    std::string list;
    for (const std::string& what : stayed) list += join({"\n", what});
    reportProblem(join({text::kRemovalIncomplete, list}));
    return RemovalOutcome::Incomplete;
  }
  if (!restartNeeded) return RemovalOutcome::Removed;
  offerRestart(family);
  return RemovalOutcome::RestartNeeded;
}

// Queued jobs would keep the printer, and with it the driver, until they
// were printed.
bool PrinterInstaller::removePrinter(const std::string& name) {
  Spooler& spooler = platform_.spooler;
  PrinterDefaults defaults{nullptr, nullptr, kPrinterAllAccess};
  PrinterHandle printer = 0;
  const std::string opening = join({"OpenPrinterA(", quoted(name), ", all access)"});
  if (!spooler.openPrinter(name.c_str(), &printer, &defaults)) {
    // One that another program removed meanwhile is gone all the same.
    return removalResult(false, opening, text::kOpenPrinterError, kErrorInvalidPrinterName);
  }
  spoolerResult(spooler.setPrinter(printer, 0, nullptr, kPrinterControlPurge),
                join({"SetPrinterA(", quoted(name), ", purge)"}), nullptr);
  const bool deleted =
      spoolerResult(spooler.deletePrinter(printer), join({"DeletePrinter(", quoted(name), ")"}),
                    text::kDeletePrinterError);
  spooler.closePrinter(printer);
  return deleted;
}

// A library the spooler still holds goes when Windows starts again: on
// Windows NT it is moved aside at once, so that its name is free.
PrinterInstaller::FileRemoval PrinterInstaller::removeFile(RestartSchedule& schedule,
                                                           const std::string& path) {
  Kernel& kernel = platform_.kernel;
  Dword error = kErrorSuccess;
  if (deleteLogged(kernel, log, path, &error) != DeleteOutcome::Failed) return FileRemoval::Gone;
  if (isInUse(error)) {
    Dword asideError = kErrorSuccess;
    const std::string aside = schedule.windows9x() ? "" : moveAside(kernel, path, asideError);
    const std::string& doomed = aside.empty() ? path : aside;
    Dword scheduleError = kErrorSuccess;
    if (schedule.deleteAtRestart(doomed, scheduleError)) {
      logLine(join({"Delete ", path, ": in use, deleted when Windows starts again"}));
      return FileRemoval::AtRestart;
    }
    if (!aside.empty()) {
      // Its name is free; the copy aside is what stays behind.
      if (log != nullptr) {
        log->writeFailure(join({"Delete ", path, ": moved aside; ", aside,
                                " is left behind, its deletion at the next start"}),
                          scheduleError);
      }
      return FileRemoval::Gone;
    }
    if (log != nullptr)
      log->writeFailure(join({"Delete ", path, " at the next start"}), scheduleError);
  }
  showFailure(join({"Delete ", path}), join({text::kDeleteFileError, path}).c_str(), error);
  return FileRemoval::Failed;
}

// The folder goes only when nothing but the uninstaller's files was in it.
bool PrinterInstaller::removeUninstallerFiles(RestartSchedule& schedule) {
  Kernel& kernel = platform_.kernel;
  DirectoryBuffer windows;
  if (!queryWindowsDirectory(kernel, windows)) return true;
  bool removed = true;
  const std::string folder = join({windows.bytes, uninstall::kFolder});
  for (const char* file : uninstall::kFiles) {
    const std::string path = join({folder, "\\", file});
    qlx::clearLeftovers(kernel, schedule, log, path);
    Dword error = kErrorSuccess;
    if (deleteLogged(kernel, log, path, &error) == DeleteOutcome::Failed) {
      showFailure(join({"Delete ", path}), join({text::kDeleteFileError, path}).c_str(), error);
      removed = false;
    }
  }
  const bool folderRemoved = kernel.removeDirectory(folder.c_str());
  const Dword error = folderRemoved ? kErrorSuccess : kernel.getLastError();
  if (folderRemoved) {
    logLine(join({"Remove folder ", folder, ": removed"}));
  } else if (log != nullptr) {
    log->writeFailure(join({"Remove folder ", folder, " (kept)"}), error);
  }
  return removed;
}

bool PrinterInstaller::removeUninstallKey() {
  const Long result = platform_.registry.regDeleteKey(kHKeyLocalMachine, uninstall::kKey);
  const std::string what = join({"Delete uninstall key HKLM\\", uninstall::kKey});
  if (result == kRegSuccess || static_cast<Dword>(result) == kErrorFileNotFound) {
    logLine(join({what, result == kRegSuccess ? ": deleted" : ": not there"}));
    return true;
  }
  showFailure(what, text::kDeleteKeyError, static_cast<Dword>(result));
  return false;
}

}  // namespace qlx
