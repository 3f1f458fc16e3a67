// Windows Server 2003: the universal driver with the model's GPD data file,
// staged from driver2k\ in the printer-driver directory.

#include <string>
#include <utility>

#include "engine/DirectoryBuffer.h"
#include "engine/InstallFamily.h"
#include "engine/InstallLog.h"
#include "engine/PrinterInstaller.h"

namespace qlx {
namespace {

constexpr char kSourceFolder[] = "driver2k\\";
// Names the same files as driverFile, uiFile and the INI file of the model.
constexpr char kDependentFiles[] =
    "UNIRES.DLL\0STDNAMES.GPD\0QLX957E.DLL\0QLUI957.DLL\0QLUI957.INI\0";

}  // namespace

InstallResult PrinterInstaller::installWin2000Family(PortCode port) {
  return runInstallFrame(kWin2000Family, win2000Contents(), port,
                         &PrinterInstaller::installWin2000Components);
}

// The universal driver's own files are shared with every other driver built
// on it; the model's data, interface and INI files are this product's.
InstallationContents PrinterInstaller::win2000Contents() const {
  InstallationContents contents;
  contents.sourceFolder = kSourceFolder;
  contents.environment = kNtEnvironment;
  contents.files.push_back({monitorFile, Place::SystemDirectory, Ownership::Product});
  if (hasPrintProcessor) {
    contents.files.push_back({processorFile, Place::PrintProcessorDirectory, Ownership::Product});
    contents.processorName = processorName;
  }
  const std::pair<std::string, Ownership> driverFiles[] = {
      {"UNIDRV.DLL", Ownership::Shared},   {"UNIDRVUI.DLL", Ownership::Shared},
      {"UNIDRV.HLP", Ownership::Shared},   {"UNIRES.DLL", Ownership::Shared},
      {driverFile, Ownership::Product},    {uiFile, Ownership::Product},
      {iniFileName(), Ownership::Product}, {gpdFileName(), Ownership::Product},
      {"STDNAMES.GPD", Ownership::Shared}};
  for (const auto& [name, ownership] : driverFiles) {
    contents.files.push_back({name, Place::PrinterDriverDirectory, ownership});
  }
  contents.monitors.push_back({monitorName, monitorFile, Ownership::Product, true});
  // Only names in the printer-driver directory go; the monitor and processor
  // libraries stay where the spooler loads them from.
  contents.stagedFiles = {"UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP", "UNIRES.DLL", monitorFile};
  if (hasPrintProcessor) contents.stagedFiles.push_back(processorFile);
  for (const std::string& name :
       {driverFile, uiFile, iniFileName(), gpdFileName(), std::string("STDNAMES.GPD")}) {
    contents.stagedFiles.push_back(name);
  }
  return contents;
}

InstallResult PrinterInstaller::installWin2000Components(DirectoryBuffer& directory) {
  stageMonitorAndProcessor(directory);

  registerMonitors();
  registerPrintProcessor();

  reportStep(text::kCopyFiles);
  copyDriverFiles(directory);

  reportStep(text::kInstallDriver);
  const std::string gpdFile = gpdFileName();
  DriverInfo3 driver{};
  driver.cVersion = 3;
  driver.pName = printerName.c_str();
  driver.pEnvironment = kNtEnvironment;
  driver.pDriverPath = "UNIDRV.DLL";
  driver.pDataFile = gpdFile.c_str();
  driver.pConfigFile = "UNIDRVUI.DLL";
  driver.pHelpFile = "UNIDRV.HLP";
  driver.pDependentFiles = kDependentFiles;
  driver.pMonitorName = monitorName.c_str();
  driver.pDefaultDataType = "RAW";
  // Not fatal here: the printer creation that follows decides.
  addPrinterDriver(driver);
  return InstallResult::Completed;
}

}  // namespace qlx
