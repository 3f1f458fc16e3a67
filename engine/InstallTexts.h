#pragma once

// Every text the installation shows, byte for byte.
namespace qlx::text {

inline constexpr char kCheckDrivers[] = "Check drivers...\r\n";
inline constexpr char kCheckDriver[] = "Check driver...\r\n";
inline constexpr char kAddPrinter[] = "Add printer...\r\n";
inline constexpr char kInstallMonitor[] = "Install language monitor...\r\n";
inline constexpr char kInstallProcessor[] = "Install print processor...\r\n";
inline constexpr char kCopyFiles[] = "Copy files...\r\n";
inline constexpr char kInstallDriver[] = "Install printer driver...\r\n";
inline constexpr char kInstallPrinter[] = "Install printer...\r\n";
inline constexpr char kDeleteInstalledFiles[] = "Delete installed files...\r\n";
inline constexpr char kCompleted[] = "Completed!";

inline constexpr char kEnumDriversError[] = "EnumPrinterDrivers Error Code: %d\n\n";
inline constexpr char kAddMonitorError[] = "AddMonitor Error Code: %d\n\n";
inline constexpr char kAddProcessorError[] = "AddProcess Error Code: %d\n\n";
inline constexpr char kAddPrinterDriverError[] = "AddPrinterDriver Error Code: %d\n\n";
inline constexpr char kAddPrinterError[] = "AddPrinter Error Code: %d\n\n";
inline constexpr char kOpenPrinterError[] = "OpenPrinter Error Code: %d\n\n";
inline constexpr char kWindowsDirectoryError[] = "GetWindowsDirectory Error Code: %d\n\n";
// The uninstall entry could not be written.
inline constexpr char kCreateKeyError[] = "RegCreateKey Error Code: %d\n\n";
inline constexpr char kOpenKeyError[] = "RegOpenKeyEx Error Code: %d\n\n";
inline constexpr char kSetValueError[] = "RegSetValueEx Error Code: %d\n\n";
inline constexpr char kEnumPortsError[] = "EnumPorts Error Code: %d\n\n";

// A copy that failed: the call, its code and text, then which file.
inline constexpr char kCopyFileError[] = "CopyFile Error Code: %d\n\n";
inline constexpr char kPackageIncomplete[] =
    "The driver package is incomplete. These files are missing:\n";
inline constexpr char kNothingInstalled[] = "Nothing was installed.";
inline constexpr char kNoFreePrinterName[] = "No free printer name is left";
// Removal: its steps, its failures, its questions.
inline constexpr char kRemovePrinters[] = "Remove printers...\r\n";
inline constexpr char kRemoveDriver[] = "Remove printer driver...\r\n";
inline constexpr char kRemoveProcessor[] = "Remove print processor...\r\n";
inline constexpr char kRemoveMonitor[] = "Remove language monitor...\r\n";
inline constexpr char kDeleteFiles[] = "Delete files...\r\n";
inline constexpr char kRemoveEntry[] = "Remove uninstall entry...\r\n";
inline constexpr char kEnumPrintersError[] = "EnumPrinters Error Code: %d\n\n";
inline constexpr char kDeletePrinterError[] = "DeletePrinter Error Code: %d\n\n";
inline constexpr char kDeleteDriverError[] = "DeletePrinterDriver Error Code: %d\n\n";
inline constexpr char kDeleteProcessorError[] = "DeletePrintProcessor Error Code: %d\n\n";
inline constexpr char kDeleteMonitorError[] = "DeleteMonitor Error Code: %d\n\n";
inline constexpr char kDeleteFileError[] = "DeleteFile Error Code: %d\n\n";
inline constexpr char kDeleteKeyError[] = "RegDeleteKey Error Code: %d\n\n";
inline constexpr char kRemovalIncomplete[] =
    "The removal is not complete. These stay, for a later removal to take:";
inline constexpr char kRemoveQuestion[] = "Remove the DALVERA QLX-957 driver from this computer?";
inline constexpr char kRemovePrintersList[] =
    "\n\nThese printers are removed with their print jobs:";
inline constexpr char kNoPrinters[] = "\n\nNo printer uses the driver.";
inline constexpr char kNotInstalled[] = "The DALVERA QLX-957 driver is not installed.";
inline constexpr char kAlreadyInstalled[] = "The DALVERA QLX-957 driver is already installed.";

inline constexpr char kAlreadyRunning[] =
    "Another installation of the DALVERA QLX-957 driver is already running.";

inline constexpr char kRestartQuestion[] =
    "Restart the computer can take effect.\nPlease restart the computer."
    "\n\n[Yes] I want to restart my computer now.\n[No] I will restart my computer later.";
inline constexpr char kRestartCaption[] = "DALVERA QLX-957 installer";

inline constexpr char kInstallCancelled[] = "Install Cancled.";
inline constexpr char kUnsupportedWindows[] = "This version of Windows is not supported.";
inline constexpr char kNo64BitDriver[] =
    "This driver package has no driver for 64-bit Windows: the DALVERA QLX-957 driver can be "
    "installed on 32-bit Windows only.\n\nNothing was changed.";
inline constexpr char kIsWow64Error[] = "IsWow64Process Error Code: %d\n\n";
inline constexpr char kNeedsAdministrator[] =
    "Installing the DALVERA QLX-957 printer driver needs administrator rights.\n\nLog on as an "
    "administrator and run the installer again. Nothing was changed.";

}  // namespace qlx::text
