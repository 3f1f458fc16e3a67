#include "engine/Restart.h"

#include "engine/Families.h"
#include "engine/InstallTexts.h"
#include "engine/Reporter.h"

namespace qlx {

bool restartComputer(Platform& platform) {
  Kernel& kernel = platform.kernel;
  Security& security = platform.security;

  Handle token = 0;
  if (!security.openProcessToken(kernel.getCurrentProcess(), kTokenAdjustPrivilegesQuery, &token)) {
    return false;
  }

  TokenPrivileges privileges{};
  privileges.PrivilegeCount = 1;
  security.lookupPrivilegeValue(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  privileges.Privileges[0].Attributes = kSePrivilegeEnabled;

  // The call succeeds even when the privilege is not held; only the last
  // error tells, so it is read before anything else.
  security.adjustTokenPrivileges(token, false, &privileges, 0, nullptr, nullptr);
  const Dword adjustError = kernel.getLastError();
  kernel.closeHandle(token);
  if (adjustError != kErrorSuccess) return false;

  return platform.ui.exitWindowsEx(kEwxRebootForce, 0);
}

bool offerRestart(Platform& platform, Reporter& reporter, RestartChoice choice,
                  const FamilySettings& family) {
  switch (choice) {
    case RestartChoice::Never:
      reporter.line("Restart: not asked, not done (a restart is needed to complete)");
      return false;
    case RestartChoice::Force:
      reporter.line("Restart: forced without asking");
      break;
    case RestartChoice::Ask: {
      const int answer = platform.ui.messageBox(0, text::kRestartQuestion, text::kRestartCaption,
                                                kMbYesNo | kMbIconQuestion);
      reporter.line(answer == kIdYes ? "Restart: asked, answer Yes" : "Restart: asked, answer No");
      if (answer != kIdYes) return false;
      break;
    }
  }
  // The restart proceeds on its own; "Completed!" is shown either way.
  // Windows 9x needs no privilege for it.
  const bool requested = family.restartNeedsPrivilege
                             ? restartComputer(platform)
                             : platform.ui.exitWindowsEx(kEwxRebootForce, 0);
  if (requested) {
    reporter.line("Restart: requested");
  } else {
    reporter.quietFailure("Restart: request", platform.kernel.getLastError());
  }
  return requested;
}

}  // namespace qlx
