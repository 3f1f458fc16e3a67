// Windows 95, 98 and ME: the package goes from driver9x\ straight into the
// system, print processor and printer-driver directories; the shared universal
// driver files follow the user's overwrite policy. Nothing is staged, so
// nothing is deleted afterwards.

#include <cstdint>
#include <string>
#include <utility>

#include "engine/DirectoryBuffer.h"
#include "engine/InstallFamily.h"
#include "engine/InstallLog.h"
#include "engine/PrinterInstaller.h"

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
  return runInstallFrame(kWin9xFamily, win9xContents(), port,
                         &PrinterInstaller::installWin9xComponents);
}

// Windows 9x's universal driver (unidrv, its help, its colour and icon
// libraries) and the USB monitor serve other printers too; the model's
// driver and its two libraries are this product's.
InstallationContents PrinterInstaller::win9xContents() const {
  InstallationContents contents;
  contents.sourceFolder = kSourceFolder;
  contents.environment = k9xEnvironment;
  contents.files.push_back({monitorFile, Place::SystemDirectory, Ownership::Product});
  contents.files.push_back({"usbmon.dll", Place::SystemDirectory, Ownership::Shared});
  if (hasPrintProcessor) {
    contents.files.push_back({processorFile, Place::PrintProcessorDirectory, Ownership::Product});
    contents.processorName = processorName;
  }
  const std::pair<std::string, Ownership> driverFiles[] = {{"dmcolor.dll", Ownership::Shared},
                                                           {"iconlib.dll", Ownership::Shared},
                                                           {"vantrix.dll", Ownership::Product},
                                                           {driverFile, Ownership::Product},
                                                           {"merlowe.dll", Ownership::Product}};
  for (const auto& [name, ownership] : driverFiles) {
    contents.files.push_back({name, Place::PrinterDriverDirectory, ownership});
  }
  for (const char* name : {"unidrv.dll", "unidrv.hlp"}) {
    contents.files.push_back({name, Place::PrinterDriverDirectory, Ownership::Shared, true});
  }
  contents.monitors.push_back({monitorName, monitorFile, Ownership::Product, true});
  // An optional companion: its failure is only logged.
  contents.monitors.push_back({"usbmon.dll", "usbmon.DLL", Ownership::Shared, false});
  return contents;
}

InstallResult PrinterInstaller::installWin9xComponents(DirectoryBuffer& directory) {
  stageMonitorAndProcessor(directory);

  registerMonitors();
  registerPrintProcessor();

  reportStep(text::kCopyFiles);
  copyDriverFiles(directory);
  copyUniversalDriverFiles(directory);

  reportStep(text::kInstallDriver);
  DriverInfo3 driver{};
  driver.cVersion = 0x400;
  driver.pName = printerName.c_str();
  driver.pEnvironment = k9xEnvironment;
  driver.pDriverPath = driverFile.c_str();
  driver.pDataFile = driverFile.c_str();
  driver.pConfigFile = driverFile.c_str();
  driver.pHelpFile = "UNIDRV.HLP";
  driver.pDependentFiles = hasPrintProcessor ? kDependentFiles : kDependentFilesWithoutProcessor;
  driver.pMonitorName = monitorName.c_str();
  driver.pDefaultDataType = "RAW";
  if (!addPrinterDriver(driver)) return InstallResult::FatalError;
  return InstallResult::Completed;
}

// unidrv.dll is shared with other printers' drivers: it is replaced only as the
// policy allows, and unidrv.hlp follows the verdict on unidrv.dll. A file that
// is absent is always copied.
void PrinterInstaller::copyUniversalDriverFiles(const DirectoryBuffer& driverDirectory) {
  if (!driverDirectory.valid) return;
  const std::string installed = driverDirectory.path("unidrv.dll");

  bool replaceLibrary = false;
  std::string reason;
  switch (static_cast<std::uint32_t>(overwriteMode)) {
    case kOverwriteByVersion:
      replaceLibrary = isNewerByVersion(installed.c_str(), kUniversalDriverSource) == 1;
      reason = join({"by version: ", lastComparison_});
      break;
    case kOverwriteByDate:
      replaceLibrary = isNewerByDate(installed.c_str(), kUniversalDriverSource) == 1;
      reason = join({"by date: ", lastComparison_});
      break;
    case kOverwriteAlways:
      replaceLibrary = true;
      reason = "always overwrite";
      break;
    default:  // "Never overwrite", and every value the combo box cannot give
      reason = "never overwrite";
      break;
  }
  // unidrv.hlp follows the verdict on unidrv.dll.
  const bool replaceHelp = replaceLibrary;

  FileStaging staging(platform_.kernel, kSourceFolder, log);
  copyPackageFile(staging, driverDirectory, "unidrv.dll", !replaceLibrary, reason);
  copyPackageFile(staging, driverDirectory, "unidrv.hlp", !replaceHelp, reason);
}

}  // namespace qlx
