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
#include "engine/PrinterInstaller.h"

namespace qlx {
namespace {

const char* portName(PortCode port) {
  static constexpr const char* kNames[] = {"COM1:", "COM2:", "COM3:", "COM4:", "LPT1:", "LPT2:"};
  const int index = port - kPortCom1;
  if (index < 0 || index >= static_cast<int>(std::size(kNames))) return nullptr;
  return kNames[index];
}

}  // namespace

InstallResult PrinterInstaller::runInstallFrame(const FamilySettings& family, PortCode port,
                                                ComponentStep installComponents,
                                                CleanUpStep cleanUp) {
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

  // One byte at least, so that the buffer pointer is never null.
  std::vector<std::uint8_t> buffer(needed == 0 ? 1 : needed);
  returned = 0;
  if (!spooler.enumPrinterDrivers(nullptr, nullptr, family.enumLevel, buffer.data(), needed,
                                  &needed, &returned)) {
    reportApiError(text::kEnumDriversError);
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
      return DriverCheck::Present;
    }
  }
  return DriverCheck::Absent;
}

// The first of "name", "name(#1)", "name(#2)", ... that no printer has, so a
// gap in the numbering is filled.
std::string PrinterInstaller::chooseFreePrinterName() {
  Spooler& spooler = platform_.spooler;
  std::string candidate = printerName;
  for (int number = 1;; ++number) {
    PrinterHandle printer = 0;
    if (!spooler.openPrinter(candidate.c_str(), &printer, nullptr)) return candidate;
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
  if (printer == 0) {
    reportApiError(text::kAddPrinterError);
    return false;
  }
  platform_.spooler.closePrinter(printer);
  return true;
}

void PrinterInstaller::offerRestart(const FamilySettings& family) {
  const int answer = platform_.ui.messageBox(0, text::kRestartQuestion, text::kRestartCaption,
                                             kMbYesNo | kMbIconQuestion);
  if (answer != kIdYes) return;
  // The restart proceeds on its own; "Completed!" is shown either way.
  if (family.restartNeedsPrivilege) {
    restartComputer();
  } else {
    platform_.ui.exitWindowsEx(kEwxRebootForce, 0);
  }
}

// The monitor goes to the system directory and the print processor to its own
// directory, where the spooler loads them from; neither is staged.
void PrinterInstaller::stageMonitorAndProcessor(const char* sourceFolder,
                                                DirectoryBuffer& directory,
                                                const char* companionMonitorFile) {
  FileStaging staging(platform_.kernel, sourceFolder);
  querySystemDirectory(platform_.kernel, directory);
  staging.copy(directory, monitorFile);
  if (companionMonitorFile != nullptr) staging.copy(directory, companionMonitorFile);
  if (hasPrintProcessor) {
    queryPrintProcessorDirectory(platform_.spooler, directory);
    staging.copy(directory, processorFile);
  }
}

void PrinterInstaller::registerMonitor(const char* environment) {
  reportStep(text::kInstallMonitor);
  const MonitorInfo2 monitor{monitorName.c_str(), environment, monitorFile.c_str()};
  if (!platform_.spooler.addMonitor(nullptr, 2, &monitor)) reportApiError(text::kAddMonitorError);
}

void PrinterInstaller::registerPrintProcessor(const char* environment) {
  if (!hasPrintProcessor) return;
  reportStep(text::kInstallProcessor);
  if (!platform_.spooler.addPrintProcessor(nullptr, environment, processorFile.c_str(),
                                           processorName.c_str())) {
    reportApiError(text::kAddProcessorError);
  }
}

}  // namespace qlx
