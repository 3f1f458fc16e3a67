// The frame all three install procedures share: driver check, a free printer
// name or the platform's component installation, the printer, and on a fresh
// installation the clean-up, the uninstall entry and the restart question.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <vector>

#include "engine/DirectoryBuffer.h"
#include "engine/InstallFamily.h"
#include "engine/InstallLog.h"
#include "engine/PrinterInstaller.h"

namespace qlx {
namespace {

const char* portName(PortCode port) {
  static constexpr const char* kNames[] = {"COM1:", "COM2:", "COM3:", "COM4:", "LPT1:", "LPT2:"};
  const int index = port - kPortCom1;
  if (index < 0 || index >= static_cast<int>(std::size(kNames))) return nullptr;
  return kNames[index];
}

std::string orNull(const char* text) { return text == nullptr ? "null" : quoted(text); }

}  // namespace

InstallResult PrinterInstaller::runInstallFrame(const FamilySettings& family, PortCode port,
                                                ComponentStep installComponents,
                                                CleanUpStep cleanUp) {
  freshInstallation = false;
  restartRequested = false;
  loggedBarPosition_ = 0;
  const DriverCheck check = checkDriver(family);
  if (check == DriverCheck::Failed) return InstallResult::FatalError;
  const bool driverPresent = check == DriverCheck::Present;

  reportStep(text::kAddPrinter);

  std::string chosenName = printerName;
  DirectoryBuffer directory;  // shared with the clean-up, which may reuse its last path
  if (driverPresent) {
    chosenName = chooseFreePrinterName();
  } else if ((this->*installComponents)(directory) == InstallResult::FatalError) {
    return InstallResult::FatalError;
  }

  if (!createPrinter(family, chosenName, port)) return InstallResult::FatalError;

  if (!driverPresent) {
    freshInstallation = true;
    if (cleanUp != nullptr) {
      reportStep(text::kDeleteInstalledFiles);
      (this->*cleanUp)(directory);
    }
    registerUninstall();
    offerRestart(family);
  }

  reportCompletion(family.completionPauseMs);
  return InstallResult::Completed;
}

PrinterInstaller::DriverCheck PrinterInstaller::checkDriver(const FamilySettings& family) {
  reportStep(family.checkText);

  Spooler& spooler = platform_.spooler;
  Dword needed = 0;
  Dword returned = 0;
  spooler.enumPrinterDrivers(nullptr, nullptr, family.enumLevel, nullptr, 0, &needed, &returned);
  const std::string enumeration =
      join({"EnumPrinterDriversA(level ", std::to_string(family.enumLevel), ")"});
  logLine(join({enumeration, ": ", std::to_string(needed), " bytes needed"}));

  // One byte at least, so that the buffer pointer is never null.
  std::vector<std::uint8_t> buffer(needed == 0 ? 1 : needed);
  returned = 0;
  const bool listed = spooler.enumPrinterDrivers(nullptr, nullptr, family.enumLevel, buffer.data(),
                                                 needed, &needed, &returned);
  if (!spoolerResult(listed, enumeration, text::kEnumDriversError)) {
    return DriverCheck::Failed;
  }

  // Both entry kinds start with cVersion and pName; read the name without
  // trusting the count beyond what the buffer holds.
  const std::size_t entrySize = family.enumLevel == 4 ? sizeof(DriverInfo4) : sizeof(DriverInfo3);
  const std::size_t entries = std::min<std::size_t>(returned, buffer.size() / entrySize);
  for (std::size_t i = 0; i < entries; ++i) {
    const char* name = nullptr;
    std::memcpy(&name, buffer.data() + i * entrySize + offsetof(DriverInfo3, pName), sizeof name);
    if (name != nullptr && platform_.kernel.compareStrings(name, printerName.c_str()) == 0) {
      logLine(join({"Driver ", quoted(printerName), " is installed: adding a printer"}));
      return DriverCheck::Present;
    }
  }
  logLine(join({"Driver ", quoted(printerName), " is not installed (", std::to_string(entries),
                " drivers listed): fresh installation"}));
  return DriverCheck::Absent;
}

// The first of "name", "name(#1)", "name(#2)", ... that no printer has, so a
// gap in the numbering is filled.
std::string PrinterInstaller::chooseFreePrinterName() {
  Spooler& spooler = platform_.spooler;
  std::string candidate = printerName;
  for (int number = 1;; ++number) {
    PrinterHandle printer = 0;
    if (!spooler.openPrinter(candidate.c_str(), &printer, nullptr)) {
      logLine(join({"OpenPrinterA(", quoted(candidate), "): no such printer, the name is free"}));
      return candidate;
    }
    logLine(join({"OpenPrinterA(", quoted(candidate), "): exists"}));
    spooler.closePrinter(printer);
    candidate = numberedPrinterName(number);
  }
}

bool PrinterInstaller::createPrinter(const FamilySettings& family, const std::string& name,
                                     PortCode port) {
  reportStep(text::kInstallPrinter);

  PrinterInfo2 info{};
  info.pPrinterName = name.c_str();
  info.pPortName = portName(port);
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

// The monitor goes to the system directory and the print processor to its own
// directory, where the spooler loads them from; neither is staged.
void PrinterInstaller::stageMonitorAndProcessor(const char* sourceFolder,
                                                DirectoryBuffer& directory,
                                                const char* companionMonitorFile) {
  FileStaging staging(platform_.kernel, sourceFolder, log);
  querySystemDirectory(platform_.kernel, directory);
  staging.copy(directory, monitorFile);
  if (companionMonitorFile != nullptr) staging.copy(directory, companionMonitorFile);
  if (hasPrintProcessor) {
    directoryResult(queryPrintProcessorDirectory(platform_.spooler, directory),
                    "GetPrintProcessorDirectoryA", directory);
    staging.copy(directory, processorFile);
  }
}

void PrinterInstaller::registerMonitor(const char* environment) {
  reportStep(text::kInstallMonitor);
  const MonitorInfo2 monitor{monitorName.c_str(), environment, monitorFile.c_str()};
  spoolerResult(platform_.spooler.addMonitor(nullptr, 2, &monitor),
                join({"AddMonitorA(", quoted(monitorName), ", ", quoted(environment), ", ",
                      quoted(monitorFile), ")"}),
                text::kAddMonitorError);
}

void PrinterInstaller::registerPrintProcessor(const char* environment) {
  if (!hasPrintProcessor) return;
  reportStep(text::kInstallProcessor);
  spoolerResult(platform_.spooler.addPrintProcessor(nullptr, environment, processorFile.c_str(),
                                                    processorName.c_str()),
                join({"AddPrintProcessorA(", quoted(processorName), ", ", quoted(environment), ", ",
                      quoted(processorFile), ")"}),
                text::kAddProcessorError);
}

}  // namespace qlx
