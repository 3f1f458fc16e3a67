#pragma once

namespace qlx {

// Interactive runs end with 0 or 1 as they always have; the unattended modes
// answer with the codes deployment tools know from Windows Installer.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitBadCommandLine = 87;         // ERROR_INVALID_PARAMETER
inline constexpr int kExitCancelled = 1602;            // ERROR_INSTALL_USEREXIT
inline constexpr int kExitInstallFailure = 1603;       // ERROR_INSTALL_FAILURE
inline constexpr int kExitUnknownProduct = 1605;       // ERROR_UNKNOWN_PRODUCT
inline constexpr int kExitAlreadyRunning = 1618;       // ERROR_INSTALL_ALREADY_RUNNING
inline constexpr int kExitLogFailure = 1622;           // ERROR_INSTALL_LOG_FAILURE
inline constexpr int kExitPlatformUnsupported = 1633;  // ERROR_INSTALL_PLATFORM_UNSUPPORTED
inline constexpr int kExitRestartStarted = 1641;       // ERROR_SUCCESS_REBOOT_INITIATED
inline constexpr int kExitRestartRequired = 3010;      // ERROR_SUCCESS_REBOOT_REQUIRED

}  // namespace qlx
