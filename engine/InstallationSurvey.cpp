// What of an installation is on the machine: the driver, its monitors and
// print processor, the uninstall entry with the uninstaller's files, and the
// printers that use the driver.

#include "engine/InstallationSurvey.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/DirectoryBuffer.h"
#include "engine/Families.h"
#include "engine/FilePlacement.h"
#include "engine/InstallLog.h"
#include "engine/Names.h"
#include "engine/Reporter.h"
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

bool isReleaseName(std::string_view name) {
  const std::string_view prefix = uninstall::kDisplayNamePrefix;
  return name.size() > prefix.size() && name.substr(0, prefix.size()) == prefix;
}

// The entry counts only with the values the uninstaller is found by: a run
// that could not write them has not finished.
bool uninstallEntryComplete(Registry& registry, bool& keyThere) {
  HKey key = 0;
  keyThere =
      registry.regOpenKeyEx(kHKeyLocalMachine, uninstall::kKey, 0, kKeyRead, &key) == kRegSuccess;
  if (!keyThere) return false;
  const auto read = [&](const char* name) {
    Dword type = 0;
    Dword size = 0;
    std::string value;
    if (registry.regQueryValueEx(key, name, &type, nullptr, &size) != kRegSuccess ||
        type != kRegSz || size == 0 || size > 4096) {
      return value;
    }
    std::vector<std::uint8_t> data(size, 0);
    if (registry.regQueryValueEx(key, name, &type, data.data(), &size) == kRegSuccess) {
      value.assign(data.begin(), data.begin() + std::min<std::size_t>(size, data.size()));
      while (!value.empty() && value.back() == '\0') value.pop_back();
    }
    return value;
  };
  const bool complete = isReleaseName(read("DisplayName")) && !read("UninstallString").empty();
  registry.regCloseKey(key);
  return complete;
}

// The driver list, logged; false (with the error shown) when it cannot be
// read. Both entry kinds start with cVersion and pName.
bool findDriver(Platform& platform, Reporter& reporter, Dword level, const std::string& driverName,
                InstallationSurvey& survey) {
  Spooler& spooler = platform.spooler;
  const SpoolerList list = readSpoolerList(
      platform.kernel, [&](std::uint8_t* buffer, Dword size, Dword* needed, Dword* returned) {
        return spooler.enumPrinterDrivers(nullptr, nullptr, level, buffer, size, needed, returned);
      });
  const std::string enumeration = join({"EnumPrinterDriversA(level ", std::to_string(level), ")"});
  reporter.line(join({enumeration, ": ", std::to_string(list.firstNeeded), " bytes needed"}));
  if (list.attempts > 1) {
    reporter.line(join({enumeration, ": the list grew while it was read; read ",
                        std::to_string(list.attempts), " times"}));
  }
  survey.driverListed = list.read;
  survey.listError = list.error;
  if (!list.read) {
    reporter.failure(enumeration, text::kEnumDriversError, list.error);
    return false;
  }
  reporter.line(join({enumeration, ": ok"}));

  const std::size_t entries =
      level == 4 ? list.entries<DriverInfo4>() : list.entries<DriverInfo3>();
  for (std::size_t i = 0; i < entries; ++i) {
    // The fields read stand alike in both records.
    const DriverInfo3 driver =
        level == 4 ? asDriverInfo3(list.entry<DriverInfo4>(i)) : list.entry<DriverInfo3>(i);
    const bool ours = listedAs(driver.pName, driverName);
    if (ours && !survey.driver)
      reporter.line(join({"Driver ", quoted(driverName), " is installed"}));
    survey.driver = survey.driver || ours;
    std::vector<std::string>& files = ours ? survey.driverFiles : survey.otherDriversFiles;
    for (const char* file :
         {driver.pDriverPath, driver.pDataFile, driver.pConfigFile, driver.pHelpFile}) {
      if (std::string path = list.text(file); !path.empty()) files.push_back(path);
    }
    for (std::string& path : list.names(driver.pDependentFiles)) files.push_back(std::move(path));
  }
  if (!survey.driver) {
    reporter.line(join({"Driver ", quoted(driverName), " is not installed (",
                        std::to_string(entries), " drivers listed)"}));
  }
  return true;
}

// Monitors, print processor, uninstall entry and its files.
void surveyComponents(Platform& platform, Reporter& reporter, const InstallationContents& contents,
                      InstallationSurvey& survey) {
  Spooler& spooler = platform.spooler;
  Kernel& kernel = platform.kernel;

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
  if (!monitors.read) reporter.quietFailure("EnumMonitorsA", monitors.error);

  survey.processor = contents.processorName.empty();
  if (!survey.processor) {
    const SpoolerList processors = readSpoolerList(
        kernel, [&](std::uint8_t* buffer, Dword size, Dword* needed, Dword* returned) {
          return spooler.enumPrintProcessors(nullptr, contents.environment, 1, buffer, size, needed,
                                             returned);
        });
    survey.processorRegistered = listHolds(processors, contents.processorName);
    survey.processor = survey.processorRegistered;
    if (!processors.read) reporter.quietFailure("EnumPrintProcessorsA", processors.error);
  }

  // A registration whose library is gone (deleted at a start after a
  // removal) is no installation: the next run puts the library back.
  DirectoryBuffer directory;
  const auto fileThere = [&](const std::string& name) {
    return kernel.getFileAttributes(directory.path(name).c_str()) != kInvalidFileAttributes;
  };
  if (survey.monitors && queryDirectory(platform, Place::SystemDirectory, directory)) {
    for (const PlacedMonitor& monitor : contents.monitors) {
      if (monitor.required && !fileThere(monitor.dllName)) survey.monitors = false;
    }
  }
  if (survey.processorRegistered &&
      queryDirectory(platform, Place::PrintProcessorDirectory, directory)) {
    for (const std::string& name : contents.namesIn(Place::PrintProcessorDirectory)) {
      if (!fileThere(name)) survey.processor = false;
    }
  }

  survey.uninstallEntry = uninstallEntryComplete(platform.registry, survey.uninstallEntryKey);

  survey.uninstallerFiles = queryDirectory(platform, Place::UninstallerFolder, directory);
  for (const char* file : uninstall::kFiles) {
    if (!survey.uninstallerFiles) break;
    survey.uninstallerFiles = isFile(kernel, directory.path(file));
  }

  const auto there = [](bool present) { return present ? "there" : "missing"; };
  reporter.line(join({"Installed: language monitor ", there(survey.monitors), ", print processor ",
                      there(survey.processor), ", uninstall entry ", there(survey.uninstallEntry),
                      ", uninstaller files ", there(survey.uninstallerFiles)}));
}

// The local printers that `wanted` picks; a list that cannot be read is shown
// (`shown`) or only logged.
template <typename Wanted>
std::optional<std::vector<std::string>> printersWhere(Platform& platform, Reporter& reporter,
                                                      bool shown, const Wanted& wanted) {
  Spooler& spooler = platform.spooler;
  const SpoolerList list = readSpoolerList(
      platform.kernel, [&](std::uint8_t* buffer, Dword size, Dword* needed, Dword* returned) {
        return spooler.enumPrinters(kPrinterEnumLocal, nullptr, 2, buffer, size, needed, returned);
      });
  if (!list.read) {
    if (shown) {
      reporter.failure("EnumPrintersA(local, level 2)", text::kEnumPrintersError, list.error);
    } else {
      reporter.quietFailure("EnumPrintersA(local, level 2)", list.error);
    }
    return std::nullopt;
  }
  std::vector<std::string> names;
  for (std::size_t i = 0; i < list.entries<PrinterInfo2>(); ++i) {
    const PrinterInfo2 printer = list.entry<PrinterInfo2>(i);
    if (printer.pPrinterName != nullptr && wanted(printer))
      names.emplace_back(printer.pPrinterName);
  }
  return names;
}

}  // namespace

InstallationSurvey surveyInstallation(Platform& platform, Reporter& reporter,
                                      const FamilySettings& family,
                                      const InstallationContents& contents) {
  InstallationSurvey survey;
  if (findDriver(platform, reporter, family.enumLevel, contents.driver.name, survey)) {
    surveyComponents(platform, reporter, contents, survey);
  }
  return survey;
}

std::optional<std::vector<std::string>> printersUsingDriver(Platform& platform, Reporter& reporter,
                                                            const std::string& driverName) {
  return printersWhere(platform, reporter, true, [&](const PrinterInfo2& printer) {
    return listedAs(printer.pDriverName, driverName);
  });
}

std::optional<std::vector<std::string>> printersUsingProcessor(Platform& platform,
                                                               Reporter& reporter,
                                                               const std::string& processorName) {
  return printersWhere(platform, reporter, false, [&](const PrinterInfo2& printer) {
    return listedAs(printer.pPrintProcessor, processorName);
  });
}

std::optional<std::vector<std::string>> listPorts(Platform& platform, Reporter& reporter) {
  Spooler& spooler = platform.spooler;
  const SpoolerList list = readSpoolerList(
      platform.kernel, [&](std::uint8_t* buffer, Dword size, Dword* needed, Dword* returned) {
        return spooler.enumPorts(nullptr, 1, buffer, size, needed, returned);
      });
  if (!list.read) {
    reporter.failure("EnumPortsA(level 1)", text::kEnumPortsError, list.error);
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
