// The supported platforms and what each family places. A new Windows is a
// new row of the table, and a new family a new contents and settings row.

#include "engine/Families.h"

#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "engine/UninstallEntry.h"

namespace qlx {
namespace {

constexpr SupportedPlatform kPlatforms[] = {
    {kWindows95, "Windows 95", &kWin9xFamily},
    {kWindows98, "Windows 98", &kWin9xFamily},
    {kWindowsMe, "Windows ME", &kWin9xFamily},
    {kWindowsNt4, "Windows NT 4.0", &kWinNtFamily},
    {kWindows2000, "Windows 2000", &kWinNtFamily},
    {kWindowsXp, "Windows XP", &kWinNtFamily},
    {kWindowsServer2003, "Windows Server 2003", &kWin2000Family},
    // Vista, Server 2008, 7, 8, 8.1 and 10 still take the 2000 family's
    // version-3 driver through the same spooler calls.
    {kWindowsVistaOrLater, "Windows Vista or later", &kWin2000Family},
};

const SupportedPlatform* find(OsKind kind) {
  for (const SupportedPlatform& platform : kPlatforms) {
    if (platform.kind == kind) return &platform;
  }
  return nullptr;
}

// Names the same files as driverFile, uiFile and the INI file of the model.
constexpr char k2000DependentFiles[] =
    "UNIRES.DLL\0STDNAMES.GPD\0QLX957E.DLL\0QLUI957.DLL\0QLUI957.INI\0";
constexpr char kNtDependentFiles[] = "RASDDUI.DLL\0RASDDUI.HLP\0RASDD.DLL\0";
// Written for the one configured model, not built from the names.
constexpr char k9xDependentFiles[] =
    "QLX957E.DRV\0QLMON957.DLL\0QLPRO957.DLL\0VANTRIX.DLL\0MERLOWE.DLL\0UNIDRV.DLL\0"
    "UNIDRV.HLP\0ICONLIB.DLL\0DMCOLOR.DLL\0USBMON.DLL\0";
constexpr char k9xDependentFilesWithoutProcessor[] =
    "QLX957E.DRV\0QLMON957.DLL\0VANTRIX.DLL\0MERLOWE.DLL\0UNIDRV.DLL\0"
    "UNIDRV.HLP\0ICONLIB.DLL\0DMCOLOR.DLL\0USBMON.DLL\0";

template <std::size_t N>
std::string multiString(const char (&names)[N]) {
  return std::string(names, N - 1);
}

// What every family places first: the language monitor(s) in the system
// directory, the print processor in its own.
InstallationContents monitorAndProcessor(const ModelNames& names, const char* sourceFolder,
                                         const char* environment, bool withUsbMonitor) {
  InstallationContents contents;
  contents.sourceFolder = sourceFolder;
  contents.environment = environment;
  contents.files.push_back({names.monitorFile, Place::SystemDirectory, Ownership::Product});
  contents.monitors.push_back({names.monitorName, names.monitorFile, Ownership::Product, true});
  if (withUsbMonitor) {
    // An optional companion other USB printers use too: its failure is only logged.
    contents.files.push_back({"usbmon.dll", Place::SystemDirectory, Ownership::Shared});
    contents.monitors.push_back({"usbmon.dll", "usbmon.DLL", Ownership::Shared, false});
  }
  if (names.hasPrintProcessor) {
    contents.files.push_back(
        {names.processorFile, Place::PrintProcessorDirectory, Ownership::Product});
    contents.processorName = names.processorName;
    contents.processorFile = names.processorFile;
  }
  contents.driver.name = names.printerName;
  return contents;
}

void addDriverFiles(InstallationContents& contents,
                    std::initializer_list<std::pair<std::string_view, Ownership>> files) {
  for (const auto& [name, ownership] : files) {
    contents.files.push_back({std::string(name), Place::PrinterDriverDirectory, ownership});
  }
}

void addStaged(InstallationContents& contents, std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) contents.stagedFiles.emplace_back(name);
}

void addUninstallerFiles(InstallationContents& contents) {
  for (const char* name : uninstall::kFiles) {
    contents.files.push_back({name, Place::UninstallerFolder, Ownership::Product});
  }
}

}  // namespace

const FamilySettings* familyFor(OsKind kind) {
  const SupportedPlatform* platform = find(kind);
  return platform == nullptr ? nullptr : platform->family;
}

const char* platformName(OsKind kind) {
  const SupportedPlatform* platform = find(kind);
  return platform == nullptr ? "not supported" : platform->name;
}

// Windows Server 2003: the universal driver with the model's GPD data file,
// staged from driver2k\ in the printer-driver directory. The universal
// driver's own files are shared with every other driver built on it; the
// model's data, interface and INI files are this product's.
InstallationContents win2000Contents(const ModelNames& names) {
  InstallationContents contents = monitorAndProcessor(names, "driver2k\\", kNtEnvironment, false);
  addDriverFiles(contents, {{"UNIDRV.DLL", Ownership::Shared},
                            {"UNIDRVUI.DLL", Ownership::Shared},
                            {"UNIDRV.HLP", Ownership::Shared},
                            {"UNIRES.DLL", Ownership::Shared},
                            {names.driverFile, Ownership::Product},
                            {names.uiFile, Ownership::Product},
                            {names.iniFileName(), Ownership::Product},
                            {names.gpdFileName(), Ownership::Product},
                            {"STDNAMES.GPD", Ownership::Shared}});
  addUninstallerFiles(contents);
  contents.driver.version = 3;
  contents.driver.driverPath = "UNIDRV.DLL";
  contents.driver.dataFile = names.gpdFileName();
  contents.driver.configFile = "UNIDRVUI.DLL";
  contents.driver.helpFile = "UNIDRV.HLP";
  contents.driver.dependentFiles = multiString(k2000DependentFiles);
  // Only names in the printer-driver directory go; the monitor and processor
  // libraries stay where the spooler loads them from.
  addStaged(contents,
            {"UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP", "UNIRES.DLL", names.monitorFile});
  if (names.hasPrintProcessor) contents.stagedFiles.push_back(names.processorFile);
  const std::string ini = names.iniFileName();
  const std::string gpd = names.gpdFileName();
  addStaged(contents, {names.driverFile, names.uiFile, ini, gpd, "STDNAMES.GPD"});
  return contents;
}

// Windows NT 4.0, 2000 and XP: the raster driver, staged from driverNT\ in
// the printer-driver directory. The raster driver's files are Windows' own,
// shared with other drivers; the model's data and interface files are this
// product's.
InstallationContents winNtContents(const ModelNames& names) {
  InstallationContents contents = monitorAndProcessor(names, "driverNT\\", kNtEnvironment, false);
  addDriverFiles(contents, {{"RASDD.DLL", Ownership::Shared},
                            {"RASDDUI.DLL", Ownership::Shared},
                            {"RASDDUI.HLP", Ownership::Shared},
                            {names.driverFile, Ownership::Product},
                            {names.uiFile, Ownership::Product}});
  addUninstallerFiles(contents);
  contents.driver.version = 3;
  contents.driver.driverPath = "RASDD.DLL";
  contents.driver.dataFile = names.driverFile;
  contents.driver.configFile = names.uiFile;
  contents.driver.helpFile = "RASDDUI.HLP";
  contents.driver.dependentFiles = multiString(kNtDependentFiles);
  // The monitor and processor names are deleted from the printer-driver
  // directory too, where they were never staged; their libraries stay.
  addStaged(contents, {"RASDD.DLL", "RASDDUI.DLL", "RASDDUI.HLP", names.monitorFile});
  if (names.hasPrintProcessor) contents.stagedFiles.push_back(names.processorFile);
  contents.stagedFiles.push_back(names.uiFile);
  contents.stagedFiles.push_back(names.driverFile);
  return contents;
}

// Windows 95, 98 and ME: the package goes from driver9x\ straight into the
// system, print processor and printer-driver directories; nothing is staged,
// so nothing is deleted afterwards. The universal driver (unidrv, its help,
// its colour and icon libraries) and the USB monitor serve other printers
// too; unidrv.dll and its help follow the user's overwrite policy. The
// model's driver and its two libraries are this product's.
InstallationContents win9xContents(const ModelNames& names) {
  InstallationContents contents = monitorAndProcessor(names, "driver9x\\", k9xEnvironment, true);
  addDriverFiles(contents, {{"dmcolor.dll", Ownership::Shared},
                            {"iconlib.dll", Ownership::Shared},
                            {"vantrix.dll", Ownership::Product},
                            {names.driverFile, Ownership::Product},
                            {"merlowe.dll", Ownership::Product}});
  for (const char* name : {"unidrv.dll", "unidrv.hlp"}) {
    contents.files.push_back({name, Place::PrinterDriverDirectory, Ownership::Shared, true});
  }
  addUninstallerFiles(contents);
  contents.driver.version = 0x400;
  contents.driver.driverPath = names.driverFile;
  contents.driver.dataFile = names.driverFile;
  contents.driver.configFile = names.driverFile;
  contents.driver.helpFile = "UNIDRV.HLP";
  contents.driver.dependentFiles = names.hasPrintProcessor
                                       ? multiString(k9xDependentFiles)
                                       : multiString(k9xDependentFilesWithoutProcessor);
  return contents;
}

}  // namespace qlx
