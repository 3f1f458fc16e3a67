// Windows NT 4.0, 2000 and XP: the raster driver, staged from driverNT\ in
// the printer-driver directory.

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
  return runInstallFrame(kWinNtFamily, port, &PrinterInstaller::installWinNtComponents,
                         &PrinterInstaller::cleanUpWinNtStaging);
}

InstallResult PrinterInstaller::installWinNtComponents(DirectoryBuffer& directory) {
  Spooler& spooler = platform_.spooler;
  FileStaging staging(platform_.kernel, kSourceFolder, log);

  stageMonitorAndProcessor(kSourceFolder, directory, nullptr);

  registerMonitor(kNtEnvironment);
  registerPrintProcessor(kNtEnvironment);

  reportStep(text::kCopyFiles);
  directoryResult(queryPrinterDriverDirectory(spooler, directory), "GetPrinterDriverDirectoryA",
                  directory);
  for (const std::string& name : {std::string("RASDD.DLL"), std::string("RASDDUI.DLL"),
                                  std::string("RASDDUI.HLP"), driverFile, uiFile}) {
    staging.copy(directory, name);
  }

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
  if (!spoolerResult(spooler.addPrinterDriver(nullptr, 3, &driver), driverCall(driver),
                     text::kAddPrinterDriverError)) {
    return InstallResult::FatalError;
  }
  return InstallResult::Completed;
}

// Deletes from the directory the buffer still holds: the printer-driver
// directory of the copies, provided that query succeeded.
void PrinterInstaller::cleanUpWinNtStaging(DirectoryBuffer& directory) {
  FileStaging staging(platform_.kernel, kSourceFolder, log);
  staging.remove(directory, "RASDD.DLL");
  staging.remove(directory, "RASDDUI.DLL");
  staging.remove(directory, "RASDDUI.HLP");
  staging.remove(directory, monitorFile);
  if (hasPrintProcessor) staging.remove(directory, processorFile);
  staging.remove(directory, uiFile);
  staging.remove(directory, driverFile);
}

}  // namespace qlx
