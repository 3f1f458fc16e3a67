// Windows Server 2003: the universal driver with the model's GPD data file,
// staged from driver2k\ in the printer-driver directory.

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
  return runInstallFrame(kWin2000Family, port, &PrinterInstaller::installWin2000Components,
                         &PrinterInstaller::cleanUpWin2000Staging);
}

InstallResult PrinterInstaller::installWin2000Components(DirectoryBuffer& directory) {
  Spooler& spooler = platform_.spooler;
  FileStaging staging(platform_.kernel, kSourceFolder, log);

  stageMonitorAndProcessor(kSourceFolder, directory, nullptr);

  registerMonitor(kNtEnvironment);
  registerPrintProcessor(kNtEnvironment);

  reportStep(text::kCopyFiles);
  directoryResult(queryPrinterDriverDirectory(spooler, directory), "GetPrinterDriverDirectoryA",
                  directory);
  const std::string gpdFile = gpdFileName();
  for (const std::string& name : {std::string("UNIDRV.DLL"), std::string("UNIDRVUI.DLL"),
                                  std::string("UNIDRV.HLP"), std::string("UNIRES.DLL"), driverFile,
                                  uiFile, iniFileName(), gpdFile, std::string("STDNAMES.GPD")}) {
    staging.copy(directory, name);
  }

  reportStep(text::kInstallDriver);
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
  spoolerResult(spooler.addPrinterDriver(nullptr, 3, &driver), driverCall(driver),
                text::kAddPrinterDriverError);
  return InstallResult::Completed;
}

// Only names in the printer-driver directory go; the monitor and processor
// libraries stay where the spooler loads them from.
void PrinterInstaller::cleanUpWin2000Staging(DirectoryBuffer& directory) {
  directoryResult(queryPrinterDriverDirectory(platform_.spooler, directory),
                  "GetPrinterDriverDirectoryA", directory);
  FileStaging staging(platform_.kernel, kSourceFolder, log);
  for (const char* name : {"UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP", "UNIRES.DLL"}) {
    staging.remove(directory, name);
  }
  staging.remove(directory, monitorFile);
  if (hasPrintProcessor) staging.remove(directory, processorFile);
  for (const std::string& name :
       {driverFile, uiFile, iniFileName(), gpdFileName(), std::string("STDNAMES.GPD")}) {
    staging.remove(directory, name);
  }
}

}  // namespace qlx
