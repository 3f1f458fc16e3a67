// Windows NT 4.0, 2000 and XP: the raster driver, staged from driverNT\ in
// the printer-driver directory.

#include <string>
#include <utility>

#include "engine/DirectoryBuffer.h"
#include "engine/InstallFamily.h"
#include "engine/InstallLog.h"
#include "engine/PrinterInstaller.h"

namespace qlx {
namespace {

constexpr char kSourceFolder[] = "driverNT\\";
constexpr char kDependentFiles[] = "RASDDUI.DLL\0RASDDUI.HLP\0RASDD.DLL\0";

}  // namespace

InstallResult PrinterInstaller::installWinNtFamily(PortCode port) {
  return runInstallFrame(kWinNtFamily, winNtContents(), port,
                         &PrinterInstaller::installWinNtComponents);
}

// The raster driver's files are Windows' own, shared with other drivers;
// the model's data and interface files are this product's.
InstallationContents PrinterInstaller::winNtContents() const {
  InstallationContents contents;
  contents.sourceFolder = kSourceFolder;
  contents.environment = kNtEnvironment;
  contents.files.push_back({monitorFile, Place::SystemDirectory, Ownership::Product});
  if (hasPrintProcessor) {
    contents.files.push_back({processorFile, Place::PrintProcessorDirectory, Ownership::Product});
    contents.processorName = processorName;
  }
  const std::pair<std::string, Ownership> driverFiles[] = {{"RASDD.DLL", Ownership::Shared},
                                                           {"RASDDUI.DLL", Ownership::Shared},
                                                           {"RASDDUI.HLP", Ownership::Shared},
                                                           {driverFile, Ownership::Product},
                                                           {uiFile, Ownership::Product}};
  for (const auto& [name, ownership] : driverFiles) {
    contents.files.push_back({name, Place::PrinterDriverDirectory, ownership});
  }
  contents.monitors.push_back({monitorName, monitorFile, Ownership::Product, true});
  // The monitor and processor names are deleted from the printer-driver
  // directory too, where they were never staged; their libraries stay.
  contents.stagedFiles = {"RASDD.DLL", "RASDDUI.DLL", "RASDDUI.HLP", monitorFile};
  if (hasPrintProcessor) contents.stagedFiles.push_back(processorFile);
  contents.stagedFiles.push_back(uiFile);
  contents.stagedFiles.push_back(driverFile);
  return contents;
}

InstallResult PrinterInstaller::installWinNtComponents(DirectoryBuffer& directory) {
  stageMonitorAndProcessor(directory);

  registerMonitors();
  registerPrintProcessor();

  reportStep(text::kCopyFiles);
  copyDriverFiles(directory);

  reportStep(text::kInstallDriver);
  DriverInfo3 driver{};
  driver.cVersion = 3;
  driver.pName = printerName.c_str();
  driver.pEnvironment = kNtEnvironment;
  driver.pDriverPath = "RASDD.DLL";
  driver.pDataFile = driverFile.c_str();
  driver.pConfigFile = uiFile.c_str();
  driver.pHelpFile = "RASDDUI.HLP";
  driver.pDependentFiles = kDependentFiles;
  driver.pMonitorName = monitorName.c_str();
  driver.pDefaultDataType = "RAW";
  if (!addPrinterDriver(driver)) return InstallResult::FatalError;
  return InstallResult::Completed;
}

}  // namespace qlx
