#include "msi/core/ExitMapping.h"

#include "engine/ExitCodes.h"

namespace qlx::msi {

namespace {

constexpr std::uint32_t code(int value) { return static_cast<std::uint32_t>(value); }

}  // namespace

ActionOutcome mapExitCode(Stage stage, std::uint32_t exitCode) {
  const bool install = stage == Stage::Install;
  switch (exitCode) {
    case code(kExitSuccess):
      return {kActionSuccess, false, install ? "installed" : "removed"};
    case code(kExitRestartRequired):
      return {kActionSuccess, true,
              install ? "installed; a restart is needed" : "removed; a restart completes it"};
    case code(kExitRestartStarted):
      return {kActionSuccess, true, "done; the program started a restart"};
    case code(kExitCancelled):
      return {kActionUserExit, false, "cancelled"};
    case code(kExitAlreadyRunning):
      // Windows Installer has no way to pass 1618 on from a custom action.
      return {kActionFailure, false,
              "another installation of the driver is running; try again when it has ended"};
    case code(kExitPlatformUnsupported):
      return {
          kActionFailure, false,
          "this Windows is not supported: a version the program does not know, or 64-bit Windows"};
    case code(kExitBadCommandLine):
      return {kActionFailure, false, "the program does not accept the package's command line"};
    case code(kExitLogFailure):
      return {kActionFailure, false, "the program could not open its log"};
    default:
      break;
  }
  if (!install && exitCode == code(kExitUnknownProduct)) {
    return {kActionSuccess, false, "nothing of the driver was installed"};
  }
  if (exitCode == code(kExitInstallFailure)) {
    return {kActionFailure, false, install ? "the installation failed" : "the removal failed"};
  }
  return {kActionFailure, false, "the program ended with a code it does not give"};
}

}  // namespace qlx::msi
