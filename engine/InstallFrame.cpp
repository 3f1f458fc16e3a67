// The frame all three install procedures share: the check for an
// installation, then either one more printer for a complete installation or
// the platform's component installation (which also completes a partial one
// left by a failed run), the printer, and after a fresh installation the
// clean-up, the uninstall entry and the restart question.

#include <iterator>
#include <string>
#include <vector>

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

const char* portName(PortCode port) {
  static constexpr const char* kNames[] = {"COM1:", "COM2:", "COM3:", "COM4:", "LPT1:", "LPT2:"};
  const int index = port - kPortCom1;
  if (index < 0 || index >= static_cast<int>(std::size(kNames))) return nullptr;
  return kNames[index];
}

std::string orNull(const char* text) { return text == nullptr ? "null" : quoted(text); }

// Windows 9x's print providers answer a name none of them knows with
// ERROR_INVALID_NAME, which the router may hand on as it is.
bool isNoSuchPrinter(Dword error) {
  return error == kErrorInvalidPrinterName || error == kErrorInvalidName;
}

// Far beyond any till, and still a bound: a spooler that answers "exists" to
// every name must not keep the installation probing for ever.
constexpr int kHighestPrinterNumber = 999;

}  // namespace

const FamilySettings& familyFor(OsKind kind) {
  if (isWindows9x(kind)) return kWin9xFamily;
  if (isWin2000Family(kind)) return kWin2000Family;
  return kWinNtFamily;
}

InstallResult PrinterInstaller::runInstallFrame(const FamilySettings& family,
                                                const InstallationContents& contents,
                                                PortCode port) {
  freshInstallation = false;
  updated = false;
  restartNeeded = false;
  restartRequested = false;
  loggedBarPosition_ = 0;
  RestartSchedule schedule(platform_.kernel, platform_.registry, contents.windows9x(), log);

  reportStep(family.checkText);
  InstallationSurvey survey;
  if (!findDriver(family.enumLevel, survey)) return InstallResult::FatalError;
  // What a failed run left is completed, not taken for an installation.
  surveyComponents(contents, survey);
  const bool complete = survey.complete();
  clearLeftovers(contents, complete, schedule);
  if (complete) {
    const UpdatePlan plan = planUpdate(contents, survey);
    if (plan.any()) return updateInstallation(family, contents, plan);
    logLine("The installation is complete: adding a printer");
  } else if (survey.driver) {
    logLine("The installation is not complete: completing it");
  } else {
    logLine("Fresh installation");
  }
  // Nothing may change before every file the installation needs is known
  // to be there.
  if (!complete && !checkPackage(contents)) return InstallResult::FatalError;

  reportStep(text::kAddPrinter);

  // A failed run may have left printers of the driver; one is enough.
  std::vector<std::string> printers;
  if (!complete && survey.driver) printers = printersUsingDriver().value_or(printers);

  DirectoryBuffer directory;  // shared with the clean-up, which may reuse its last path
  InstallResult result = InstallResult::Completed;
  if (!complete) {
    result = installComponents(family, contents, survey, schedule, directory);
    if (result == InstallResult::FatalError) return result;
  }

  if (printers.empty()) {
    const std::optional<std::string> name = chooseFreePrinterName();
    if (!name) return InstallResult::FatalError;
    if (!createPrinter(family, *name, port)) return InstallResult::FatalError;
  } else {
    reportStep(text::kInstallPrinter);
    logLine(
        join({"Printer ", quoted(printers.front()), " uses the driver already: no printer added"}));
  }

  if (!complete) {
    freshInstallation = true;
    if (!contents.stagedFiles.empty()) {
      reportStep(text::kDeleteInstalledFiles);
      if (family.cleanUpQueriesDirectory) {
        directoryResult(queryPrinterDriverDirectory(platform_.spooler, directory),
                        "GetPrinterDriverDirectoryA", directory);
      }
      cleanUpStaging(contents, directory);
    }
    // Without its entry or its files the installation is not complete: the
    // next run completes it.
    const bool entry = writeUninstallEntry();
    if (!placeUninstallerFiles(schedule) || !entry) result = InstallResult::Incomplete;
    restartNeeded = true;
    offerRestart(family);
  }

  reportCompletion(family.completionPauseMs);
  return result;
}

void PrinterInstaller::clearLeftovers(OsKind kind) {
  const InstallationContents contents = contentsFor(kind);
  RestartSchedule schedule(platform_.kernel, platform_.registry, contents.windows9x(), log);
  clearLeftovers(contents, true, schedule);
}

// Copies half written or kept aside by a run that was cut short; once the
// installation is complete, the staged files an interrupted update left
// in the printer-driver directory, which the spooler no longer needs.
void PrinterInstaller::clearLeftovers(const InstallationContents& contents, bool complete,
                                      RestartSchedule& schedule) {
  Kernel& kernel = platform_.kernel;
  DirectoryBuffer directory;
  const auto clearIn = [&](Place place) {
    for (const std::string& name : contents.namesIn(place)) {
      qlx::clearLeftovers(kernel, schedule, log, directory.path(name));
    }
  };
  if (querySystemDirectory(kernel, directory)) clearIn(Place::SystemDirectory);
  if (!contents.processorName.empty() &&
      queryPrintProcessorDirectory(platform_.spooler, directory)) {
    clearIn(Place::PrintProcessorDirectory);
  }
  if (queryPrinterDriverDirectory(platform_.spooler, directory)) {
    clearIn(Place::PrinterDriverDirectory);
    for (const std::string& name : contents.stagedFiles) {
      if (complete && isFile(kernel, directory.path(name))) {
        logLine(join({directory.path(name), ": staged by an interrupted run"}));
        deleteLogged(kernel, log, directory.path(name));
      }
    }
  }
  if (queryWindowsDirectory(kernel, directory)) {
    const std::string folder = join({directory.bytes, uninstall::kFolder});
    for (const std::string& name : contents.namesIn(Place::UninstallerFolder)) {
      qlx::clearLeftovers(kernel, schedule, log, join({folder, "\\", name}));
    }
  }
}

bool PrinterInstaller::checkPackage(const InstallationContents& contents) {
  const std::vector<std::string> wanted = contents.sourcePaths();
  std::string missing;
  for (const std::string& path : wanted) {
    Kernel& kernel = platform_.kernel;
    const Dword attributes = kernel.getFileAttributes(path.c_str());
    const Dword code = attributes == kInvalidFileAttributes ? kernel.getLastError() : kErrorSuccess;
    if (attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) == 0) {
      continue;
    }
    missing += join({"\n", path});
    // A file that is there but cannot be reached says why.
    if (code != kErrorSuccess && code != kErrorFileNotFound && code != kErrorPathNotFound) {
      const std::string reason = withoutLineEnd(systemMessageText(kernel, code));
      missing += join({" (error ", std::to_string(code), reason.empty() ? "" : ": ", reason, ")"});
    }
  }
  if (missing.empty()) {
    logLine(join({"Package: all ", std::to_string(wanted.size()), " files are there"}));
    return true;
  }
  reportProblem(join({text::kPackageIncomplete, missing, "\n\n", text::kNothingInstalled}));
  return false;
}

// The first of "name", "name(#1)", "name(#2)", ... that no printer has, so a
// gap in the numbering is filled. Only "no such printer" means a name is
// free: a spooler that cannot answer must not lead to a printer replaced.
std::optional<std::string> PrinterInstaller::chooseFreePrinterName() {
  Spooler& spooler = platform_.spooler;
  std::string candidate = printerName;
  for (int number = 1; number <= kHighestPrinterNumber + 1; ++number) {
    PrinterHandle printer = 0;
    const bool opened = spooler.openPrinter(candidate.c_str(), &printer, nullptr);
    const Dword error = opened ? kErrorSuccess : platform_.kernel.getLastError();
    if (!opened && isNoSuchPrinter(error)) {
      logLine(join({"OpenPrinterA(", quoted(candidate), "): no such printer, the name is free"}));
      return candidate;
    }
    if (!opened) {
      showFailure(join({"OpenPrinterA(", quoted(candidate), ")"}), text::kOpenPrinterError, error);
      return std::nullopt;
    }
    logLine(join({"OpenPrinterA(", quoted(candidate), "): exists"}));
    spooler.closePrinter(printer);
    candidate = numberedPrinterName(number);
  }
  reportProblem(join({text::kNoFreePrinterName, " (", quoted(printerName), " to ",
                      quoted(numberedPrinterName(kHighestPrinterNumber)), ")"}));
  return std::nullopt;
}

bool PrinterInstaller::createPrinter(const FamilySettings& family, const std::string& name,
                                     PortCode port) {
  reportStep(text::kInstallPrinter);

  PrinterInfo2 info{};
  info.pPrinterName = name.c_str();
  info.pPortName = otherPortName.empty() ? portName(port) : otherPortName.c_str();
  info.pDriverName = printerName.c_str();
  info.pPrintProcessor = hasPrintProcessor ? processorName.c_str() : "WinPrint";
  info.pDatatype = "RAW";
  info.Attributes =
      hasPrintProcessor ? family.attributesWithProcessor : family.attributesWithoutProcessor;
  info.Priority = family.priority;
  info.DefaultPriority = family.defaultPriority;
  info.Status = family.status;

  const PrinterHandle printer = platform_.spooler.addPrinter(nullptr, 2, &info);
  if (!spoolerResult(
          printer != 0,
          join({"AddPrinterA(", quoted(name), ", port ", orNull(info.pPortName), ", driver ",
                quoted(printerName), ", processor ", quoted(info.pPrintProcessor), ")"}),
          text::kAddPrinterError)) {
    return false;
  }
  platform_.spooler.closePrinter(printer);
  return true;
}

void PrinterInstaller::offerRestart(const FamilySettings& family) {
  switch (restartChoice) {
    case RestartChoice::Never:
      logLine("Restart: not asked, not done (a restart is needed to complete)");
      return;
    case RestartChoice::Force:
      logLine("Restart: forced without asking");
      break;
    case RestartChoice::Ask: {
      const int answer = platform_.ui.messageBox(0, text::kRestartQuestion, text::kRestartCaption,
                                                 kMbYesNo | kMbIconQuestion);
      logLine(answer == kIdYes ? "Restart: asked, answer Yes" : "Restart: asked, answer No");
      if (answer != kIdYes) return;
      break;
    }
  }
  // The restart proceeds on its own; "Completed!" is shown either way.
  restartRequested = requestRestart(family);
  if (restartRequested) {
    logLine("Restart: requested");
  } else if (log != nullptr) {
    const Dword code = platform_.kernel.getLastError();
    log->writeFailure("Restart: request", code);
  }
}

bool PrinterInstaller::requestRestart(const FamilySettings& family) {
  if (family.restartNeedsPrivilege) return restartComputer();
  return platform_.ui.exitWindowsEx(kEwxRebootForce, 0);
}

}  // namespace qlx
