// Windows 95, 98 and ME: the package goes from driver9x\ straight into the
// system, print processor and printer-driver directories; the shared universal
// driver files follow the user's overwrite policy. Nothing is staged, so
// nothing is deleted afterwards.

#include <cstdint>
#include <string>
#include <utility>

#include "engine/DirectoryBuffer.h"
#include "engine/FilePlacement.h"
#include "engine/InstallFamily.h"
#include "engine/InstallLog.h"
#include "engine/PrinterInstaller.h"
#include "engine/RestartSchedule.h"

namespace qlx {
namespace {

constexpr char kSourceFolder[] = "driver9x\\";
constexpr char kUniversalDriverSource[] = "driver9x\\unidrv.dll";
// Written for the one configured model, not built from the members.
constexpr char kDependentFiles[] =
    "QLX957E.DRV\0QLMON957.DLL\0QLPRO957.DLL\0VANTRIX.DLL\0MERLOWE.DLL\0UNIDRV.DLL\0"
    "UNIDRV.HLP\0ICONLIB.DLL\0DMCOLOR.DLL\0USBMON.DLL\0";
constexpr char kDependentFilesWithoutProcessor[] =
    "QLX957E.DRV\0QLMON957.DLL\0VANTRIX.DLL\0MERLOWE.DLL\0UNIDRV.DLL\0"
    "UNIDRV.HLP\0ICONLIB.DLL\0DMCOLOR.DLL\0USBMON.DLL\0";

}  // namespace

InstallResult PrinterInstaller::installWin9x(PortCode port) {
  return runInstallFrame(kWin9xFamily, win9xContents(), port);
}

// Windows 9x's universal driver (unidrv, its help, its colour and icon
// libraries) and the USB monitor serve other printers too; the model's
// driver and its two libraries are this product's.
InstallationContents PrinterInstaller::win9xContents() const {
  InstallationContents contents = monitorAndProcessor(kSourceFolder, k9xEnvironment, true);
  addDriverFiles(contents, {{"dmcolor.dll", Ownership::Shared},
                            {"iconlib.dll", Ownership::Shared},
                            {"vantrix.dll", Ownership::Product},
                            {driverFile, Ownership::Product},
                            {"merlowe.dll", Ownership::Product}});
  for (const char* name : {"unidrv.dll", "unidrv.hlp"}) {
    contents.files.push_back({name, Place::PrinterDriverDirectory, Ownership::Shared, true});
  }
  addUninstallerFiles(contents);
  contents.driver.version = 0x400;
  contents.driver.driverPath = driverFile;
  contents.driver.dataFile = driverFile;
  contents.driver.configFile = driverFile;
  contents.driver.helpFile = "UNIDRV.HLP";
  if (hasPrintProcessor) {
    contents.driver.dependentFiles.assign(kDependentFiles, sizeof kDependentFiles - 1);
  } else {
    contents.driver.dependentFiles.assign(kDependentFilesWithoutProcessor,
                                          sizeof kDependentFilesWithoutProcessor - 1);
  }
  return contents;
}

// unidrv.dll is shared with other printers' drivers: it is replaced only as the
// policy allows, and unidrv.hlp follows the verdict on unidrv.dll. A file that
// is absent is always copied.
bool PrinterInstaller::copyUniversalDriverFiles(RestartSchedule& schedule,
                                                const DirectoryBuffer& driverDirectory,
                                                bool helpFirst) {
  if (!driverDirectory.valid) return false;
  const std::string installed = driverDirectory.path("unidrv.dll");

  Comparison verdict;
  switch (static_cast<std::uint32_t>(overwriteMode)) {
    case kOverwriteByVersion:
      verdict = compareByVersion(installed.c_str(), kUniversalDriverSource);
      verdict.description = join({"by version: ", verdict.description});
      break;
    case kOverwriteByDate:
      verdict = compareByDate(installed.c_str(), kUniversalDriverSource);
      verdict.description = join({"by date: ", verdict.description});
      break;
    case kOverwriteAlways:
      verdict = {true, "always overwrite"};
      break;
    default:  // "Never overwrite", and every value the combo box cannot give
      verdict = {false, "never overwrite"};
      break;
  }
  // unidrv.hlp follows the verdict on unidrv.dll.
  bool placed = true;
  const char* const order[2][2] = {{"unidrv.dll", "unidrv.hlp"}, {"unidrv.hlp", "unidrv.dll"}};
  for (const char* name : order[helpFirst ? 1 : 0]) {
    placed = !placeShown(schedule, join({kSourceFolder, name}), driverDirectory.path(name),
                         !verdict.newer, verdict.description)
                  .failed() &&
             placed;
  }
  return placed;
}

}  // namespace qlx
