// What of an installation is on the machine: the driver, its monitors and
// print processor, the uninstall entry with the uninstaller's files, and the
// printers that use the driver.

#include "engine/InstallationSurvey.h"

#include <cstddef>
#include <string>

#include "engine/DirectoryBuffer.h"
#include "engine/InstallFamily.h"
#include "engine/InstallLog.h"
#include "engine/PrinterInstaller.h"
#include "engine/SameName.h"
#include "engine/SpoolerList.h"
#include "engine/UninstallEntry.h"

namespace qlx {
namespace {

// A name from a spooler list, which may be null.
bool listedAs(const char* listed, const std::string& name) {
  return listed != nullptr && sameName(listed, name);
}

DriverInfo3 asDriverInfo3(const DriverInfo4& entry) {
  DriverInfo3 driver{};
  driver.pName = entry.pName;
  driver.pDriverPath = entry.pDriverPath;
  driver.pDataFile = entry.pDataFile;
  driver.pConfigFile = entry.pConfigFile;
  driver.pHelpFile = entry.pHelpFile;
  driver.pDependentFiles = entry.pDependentFiles;
  return driver;
}

bool listHolds(const SpoolerList& list, const std::string& name) {
  for (std::size_t i = 0; i < list.entries<NameInfo1>(); ++i) {
    if (listedAs(list.entry<NameInfo1>(i).pName, name)) return true;
  }
  return false;
}

}  // namespace

InstallationContents PrinterInstaller::contentsFor(OsKind kind) const {
  if (isWindows9x(kind)) return win9xContents();
  if (isWin2000Family(kind)) return win2000Contents();
  return winNtContents();
}

InstallationSurvey PrinterInstaller::surveyInstallation(OsKind kind) {
  InstallationSurvey survey;
  if (findDriver(familyFor(kind).enumLevel, survey)) surveyComponents(contentsFor(kind), survey);
  return survey;
}

// Both entry kinds start with cVersion and pName, the one field read.
bool PrinterInstaller::findDriver(Dword level, InstallationSurvey& survey) {
  Spooler& spooler = platform_.spooler;
  const SpoolerList list = readSpoolerList(
      platform_.kernel, [&](std::uint8_t* buffer, Dword size, Dword* needed, Dword* returned) {
        return spooler.enumPrinterDrivers(nullptr, nullptr, level, buffer, size, needed, returned);
      });
  const std::string enumeration = join({"EnumPrinterDriversA(level ", std::to_string(level), ")"});
  logLine(join({enumeration, ": ", std::to_string(list.firstNeeded), " bytes needed"}));
  if (list.attempts > 1) {
    logLine(join({enumeration, ": the list grew while it was read; read ",
                  std::to_string(list.attempts), " times"}));
  }
  survey.driverListed = list.read;
  survey.listError = list.error;
  if (!list.read) {
    showFailure(enumeration, text::kEnumDriversError, list.error);
    return false;
  }
  logLine(join({enumeration, ": ok"}));

  const std::size_t entries =
      level == 4 ? list.entries<DriverInfo4>() : list.entries<DriverInfo3>();
  for (std::size_t i = 0; i < entries; ++i) {
    // The fields read stand alike in both records.
    const DriverInfo3 driver =
        level == 4 ? asDriverInfo3(list.entry<DriverInfo4>(i)) : list.entry<DriverInfo3>(i);
    if (driver.pName == nullptr ||
        platform_.kernel.compareStrings(driver.pName, printerName.c_str()) != 0) {
      continue;
    }
    logLine(join({"Driver ", quoted(printerName), " is installed"}));
    survey.driver = true;
    for (const char* file :
         {driver.pDriverPath, driver.pDataFile, driver.pConfigFile, driver.pHelpFile}) {
      if (std::string path = list.text(file); !path.empty()) survey.driverFiles.push_back(path);
    }
    for (std::string& path : list.names(driver.pDependentFiles)) {
      survey.driverFiles.push_back(std::move(path));
    }
    return true;
  }
  logLine(join({"Driver ", quoted(printerName), " is not installed (", std::to_string(entries),
                " drivers listed)"}));
  return true;
}

void PrinterInstaller::surveyComponents(const InstallationContents& contents,
                                        InstallationSurvey& survey) {
  Spooler& spooler = platform_.spooler;
  Kernel& kernel = platform_.kernel;

  const SpoolerList monitors = readSpoolerList(
      kernel, [&](std::uint8_t* buffer, Dword size, Dword* needed, Dword* returned) {
        return spooler.enumMonitors(nullptr, 1, buffer, size, needed, returned);
      });
  survey.monitors = monitors.read;
  for (const PlacedMonitor& monitor : contents.monitors) {
    if (listHolds(monitors, monitor.name)) {
      survey.registeredMonitors.push_back(monitor.name);
    } else if (monitor.required) {
      survey.monitors = false;
    }
  }
  if (!monitors.read && log != nullptr) log->writeFailure("EnumMonitorsA", monitors.error);

  survey.processor = contents.processorName.empty();
  if (!survey.processor) {
    const SpoolerList processors = readSpoolerList(
        kernel, [&](std::uint8_t* buffer, Dword size, Dword* needed, Dword* returned) {
          return spooler.enumPrintProcessors(nullptr, contents.environment, 1, buffer, size, needed,
                                             returned);
        });
    survey.processorRegistered = listHolds(processors, contents.processorName);
    survey.processor = survey.processorRegistered;
    if (!processors.read && log != nullptr) {
      log->writeFailure("EnumPrintProcessorsA", processors.error);
    }
  }

  // A registration whose library is gone (deleted at a start after a
  // removal) is no installation: the next run puts the library back.
  DirectoryBuffer directory;
  const auto fileThere = [&](const std::string& name) {
    return kernel.getFileAttributes(directory.path(name).c_str()) != kInvalidFileAttributes;
  };
  if (survey.monitors && querySystemDirectory(kernel, directory)) {
    for (const PlacedMonitor& monitor : contents.monitors) {
      if (monitor.required && !fileThere(monitor.dllName)) survey.monitors = false;
    }
  }
  if (survey.processorRegistered && queryPrintProcessorDirectory(spooler, directory)) {
    for (const std::string& name : contents.namesIn(Place::PrintProcessorDirectory)) {
      if (!fileThere(name)) survey.processor = false;
    }
  }

  survey.uninstallEntry = uninstallEntryComplete(&survey.uninstallEntryKey);

  DirectoryBuffer windows;
  survey.uninstallerFiles = queryWindowsDirectory(kernel, windows);
  for (const char* file : uninstall::kFiles) {
    if (!survey.uninstallerFiles) break;
    const std::string path = join({windows.bytes, uninstall::kFolder, "\\", file});
    const Dword attributes = kernel.getFileAttributes(path.c_str());
    survey.uninstallerFiles =
        attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) == 0;
  }

  const auto there = [](bool present) { return present ? "there" : "missing"; };
  logLine(join({"Installed: language monitor ", there(survey.monitors), ", print processor ",
                there(survey.processor), ", uninstall entry ", there(survey.uninstallEntry),
                ", uninstaller files ", there(survey.uninstallerFiles)}));
}

std::optional<std::vector<std::string>> PrinterInstaller::printersUsingDriver(Dword* error) {
  Spooler& spooler = platform_.spooler;
  const SpoolerList list = readSpoolerList(
      platform_.kernel, [&](std::uint8_t* buffer, Dword size, Dword* needed, Dword* returned) {
        return spooler.enumPrinters(kPrinterEnumLocal, nullptr, 2, buffer, size, needed, returned);
      });
  if (error != nullptr) *error = list.error;
  if (!list.read) {
    if (log != nullptr) log->writeFailure("EnumPrintersA(local, level 2)", list.error);
    return std::nullopt;
  }
  std::vector<std::string> names;
  for (std::size_t i = 0; i < list.entries<PrinterInfo2>(); ++i) {
    const PrinterInfo2 printer = list.entry<PrinterInfo2>(i);
    if (printer.pPrinterName != nullptr && listedAs(printer.pDriverName, printerName)) {
      names.emplace_back(printer.pPrinterName);
    }
  }
  return names;
}

std::optional<std::vector<std::string>> PrinterInstaller::listPorts() {
  Spooler& spooler = platform_.spooler;
  const SpoolerList list = readSpoolerList(
      platform_.kernel, [&](std::uint8_t* buffer, Dword size, Dword* needed, Dword* returned) {
        return spooler.enumPorts(nullptr, 1, buffer, size, needed, returned);
      });
  if (!list.read) {
    showFailure("EnumPortsA(level 1)", text::kEnumPortsError, list.error);
    return std::nullopt;
  }
  std::vector<std::string> ports;
  for (std::size_t i = 0; i < list.entries<NameInfo1>(); ++i) {
    if (std::string name = list.text(list.entry<NameInfo1>(i).pName); !name.empty()) {
      ports.push_back(std::move(name));
    }
  }
  return ports;
}

}  // namespace qlx
