// Windows Server 2003, Vista and later: the universal driver with the model's GPD data file,
// staged from driver2k\ in the printer-driver directory.

#include <string>
#include <utility>

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
  return runInstallFrame(kWin2000Family, win2000Contents(), port);
}

// The universal driver's own files are shared with every other driver built
// on it; the model's data, interface and INI files are this product's.
InstallationContents PrinterInstaller::win2000Contents() const {
  InstallationContents contents = monitorAndProcessor(kSourceFolder, kNtEnvironment, false);
  addDriverFiles(contents, {{"UNIDRV.DLL", Ownership::Shared},
                            {"UNIDRVUI.DLL", Ownership::Shared},
                            {"UNIDRV.HLP", Ownership::Shared},
                            {"UNIRES.DLL", Ownership::Shared},
                            {driverFile, Ownership::Product},
                            {uiFile, Ownership::Product},
                            {iniFileName(), Ownership::Product},
                            {gpdFileName(), Ownership::Product},
                            {"STDNAMES.GPD", Ownership::Shared}});
  addUninstallerFiles(contents);
  contents.driver.version = 3;
  contents.driver.driverPath = "UNIDRV.DLL";
  contents.driver.dataFile = gpdFileName();
  contents.driver.configFile = "UNIDRVUI.DLL";
  contents.driver.helpFile = "UNIDRV.HLP";
  contents.driver.dependentFiles.assign(kDependentFiles, sizeof kDependentFiles - 1);
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

}  // namespace qlx
