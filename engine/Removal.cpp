// Removal: what an installation placed, taken away in the reverse order of
// installing: the printers that use the driver (their queued jobs first),
// the driver, the print processor, the language monitor, the product's own
// files (never the shared universal driver files), the uninstaller's folder
// and the uninstall entry. What cannot be removed is shown and the rest
// still goes.

#include "engine/Removal.h"

#include <algorithm>

#include "engine/DeleteAtRestart.h"
#include "engine/DirectoryBuffer.h"
#include "engine/InstallFamily.h"
#include "engine/InstallLog.h"
#include "engine/PrinterInstaller.h"
#include "system/UninstallEntry.h"

namespace qlx {
namespace {

bool sameFileName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) {
             return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
           };
           return lower(x) == lower(y);
         });
}

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isFile(Kernel& kernel, const std::string& path) {
  const Dword attributes = kernel.getFileAttributes(path.c_str());
  return attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) == 0;
}

}  // namespace

RemovalPlan PrinterInstaller::planRemoval(OsKind kind) {
  Kernel& kernel = platform_.kernel;
  incomplete_ = false;
  loggedBarPosition_ = 0;
  contents_ = contentsFor(kind);
  RemovalPlan plan;
  reportStep(familyFor(kind).checkText);
  if (!findDriver(familyFor(kind).enumLevel, plan.survey)) return plan;
  surveyComponents(contents_, plan.survey);

  const std::optional<std::vector<std::string>> printers = printersUsingDriver();
  plan.printersListed = printers.has_value();
  if (printers) plan.printers = *printers;

  // The product's own files wherever an installation put them: the
  // directories it copied to, and the folder the spooler keeps the driver in.
  std::vector<std::string> candidates;
  DirectoryBuffer directory;
  const auto ownIn = [&](Place place) {
    for (const PlacedFile& file : contents_.files) {
      if (file.place == place && file.ownership == Ownership::Product) {
        candidates.push_back(directory.path(file.name));
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
  for (const std::string& path : plan.survey.driverFiles) {
    for (const PlacedFile& file : contents_.files) {
      if (file.ownership == Ownership::Product && sameFileName(fileNameOf(path), file.name)) {
        candidates.push_back(path);
      }
    }
  }
  for (const std::string& path : candidates) {
    const bool listed = std::any_of(plan.files.begin(), plan.files.end(),
                                    [&](const std::string& f) { return sameFileName(f, path); });
    if (!listed && isFile(kernel, path)) plan.files.push_back(path);
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

RemovalOutcome PrinterInstaller::removeInstallation(OsKind kind, const RemovalPlan& plan) {
  const FamilySettings& family = familyFor(kind);
  Spooler& spooler = platform_.spooler;
  const char* environment = contents_.environment;
  int failures = plan.printersListed ? 0 : 1;
  bool restartNeeded = false;
  const auto count = [&failures](bool removed) {
    if (!removed) ++failures;
  };

  reportStep(text::kRemovePrinters);
  for (const std::string& name : plan.printers) count(removePrinter(name));

  reportStep(text::kRemoveDriver);
  if (plan.survey.driver) {
    count(removalResult(spooler.deletePrinterDriver(nullptr, environment, printerName.c_str()),
                        join({"DeletePrinterDriverA(", quoted(printerName), ")"}),
                        text::kDeleteDriverError, kErrorUnknownPrinterDriver));
  }
  if (!contents_.processorName.empty()) {
    reportStep(text::kRemoveProcessor);
    if (plan.survey.processorRegistered) {
      count(removalResult(spooler.deletePrintProcessor(nullptr, environment, processorName.c_str()),
                          join({"DeletePrintProcessorA(", quoted(processorName), ")"}),
                          text::kDeleteProcessorError, kErrorUnknownPrintProcessor));
    }
  }
  reportStep(text::kRemoveMonitor);
  for (const PlacedMonitor& monitor : contents_.monitors) {
    const bool registered =
        std::find(plan.survey.registeredMonitors.begin(), plan.survey.registeredMonitors.end(),
                  monitor.name) != plan.survey.registeredMonitors.end();
    // A shared monitor may serve other printers: it stays.
    if (monitor.ownership != Ownership::Product || !registered) continue;
    count(removalResult(spooler.deleteMonitor(nullptr, environment, monitor.name.c_str()),
                        join({"DeleteMonitorA(", quoted(monitor.name), ")"}),
                        text::kDeleteMonitorError, kErrorUnknownPrintMonitor));
  }

  reportStep(text::kDeleteFiles);
  for (const std::string& path : plan.files) {
    switch (removeFile(path, isWindows9x(kind))) {
      case FileRemoval::Gone:
        break;
      case FileRemoval::AtRestart:
        restartNeeded = true;
        break;
      case FileRemoval::Failed:
        ++failures;
        break;
    }
  }

  reportStep(text::kRemoveEntry);
  count(removeUninstallEntry());

  reportCompletion(family.completionPauseMs);
  if (failures > 0) return RemovalOutcome::Incomplete;
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

PrinterInstaller::FileRemoval PrinterInstaller::removeFile(const std::string& path,
                                                           bool windows9x) {
  Kernel& kernel = platform_.kernel;
  Dword error = kErrorSuccess;
  if (deleteLogged(kernel, log, path, &error) != DeleteOutcome::Failed) return FileRemoval::Gone;
  // A library the spooler still holds goes when Windows starts again.
  if (isInUse(error)) {
    Dword scheduleError = kErrorSuccess;
    if (deleteAtRestart(kernel, windows9x, path, scheduleError)) {
      logLine(join({"Delete ", path, ": in use, deleted when Windows starts again"}));
      return FileRemoval::AtRestart;
    }
    if (log != nullptr)
      log->writeFailure(join({"Delete ", path, " at the next start"}), scheduleError);
  }
  failedCall_ = join({"Delete ", path});
  reportApiError(join({text::kDeleteFileError, path}).c_str(), error);
  failedCall_.clear();
  return FileRemoval::Failed;
}

// The folder goes only when nothing but the uninstaller's files was in it.
bool PrinterInstaller::removeUninstallEntry() {
  Kernel& kernel = platform_.kernel;
  bool removed = true;
  DirectoryBuffer windows;
  if (queryWindowsDirectory(kernel, windows)) {
    const std::string folder = join({windows.bytes, uninstall::kFolder});
    for (const char* file : uninstall::kFiles) {
      Dword error = kErrorSuccess;
      if (deleteLogged(kernel, log, join({folder, "\\", file}), &error) == DeleteOutcome::Failed) {
        failedCall_ = join({"Delete ", folder, "\\", file});
        reportApiError(join({text::kDeleteFileError, folder, "\\", file}).c_str(), error);
        failedCall_.clear();
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
  }
  const Long result = platform_.registry.regDeleteKey(kHKeyLocalMachine, uninstall::kKey);
  const std::string what = join({"Delete uninstall key HKLM\\", uninstall::kKey});
  if (result == kRegSuccess || static_cast<Dword>(result) == kErrorFileNotFound) {
    logLine(join({what, result == kRegSuccess ? ": deleted" : ": not there"}));
    return removed;
  }
  failedCall_ = what;
  reportApiError(text::kDeleteKeyError, static_cast<Dword>(result));
  failedCall_.clear();
  return false;
}

}  // namespace qlx
