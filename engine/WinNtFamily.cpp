// Windows NT 4.0, 2000 and XP: the raster driver, staged from driverNT\ in
// the printer-driver directory.

#include <string>
#include <utility>

#include "engine/InstallFamily.h"
#include "engine/InstallLog.h"
#include "engine/PrinterInstaller.h"

namespace qlx {
namespace {

constexpr char kSourceFolder[] = "driverNT\\";
constexpr char kDependentFiles[] = "RASDDUI.DLL\0RASDDUI.HLP\0RASDD.DLL\0";

}  // namespace

InstallResult PrinterInstaller::installWinNtFamily(PortCode port) {
  return runInstallFrame(kWinNtFamily, winNtContents(), port);
}

// The raster driver's files are Windows' own, shared with other drivers;
// the model's data and interface files are this product's.
InstallationContents PrinterInstaller::winNtContents() const {
  InstallationContents contents = monitorAndProcessor(kSourceFolder, kNtEnvironment, false);
  addDriverFiles(contents, {{"RASDD.DLL", Ownership::Shared},
                            {"RASDDUI.DLL", Ownership::Shared},
                            {"RASDDUI.HLP", Ownership::Shared},
                            {driverFile, Ownership::Product},
                            {uiFile, Ownership::Product}});
  addUninstallerFiles(contents);
  contents.driver.version = 3;
  contents.driver.driverPath = "RASDD.DLL";
  contents.driver.dataFile = driverFile;
  contents.driver.configFile = uiFile;
  contents.driver.helpFile = "RASDDUI.HLP";
  contents.driver.dependentFiles.assign(kDependentFiles, sizeof kDependentFiles - 1);
  // The monitor and processor names are deleted from the printer-driver
  // directory too, where they were never staged; their libraries stay.
  contents.stagedFiles = {"RASDD.DLL", "RASDDUI.DLL", "RASDDUI.HLP", monitorFile};
  if (hasPrintProcessor) contents.stagedFiles.push_back(processorFile);
  contents.stagedFiles.push_back(uiFile);
  contents.stagedFiles.push_back(driverFile);
  return contents;
}

}  // namespace qlx
