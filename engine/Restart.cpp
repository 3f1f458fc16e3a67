#include "engine/PrinterInstaller.h"

namespace qlx {

// A forced restart needs the shutdown privilege enabled in the process token.
bool PrinterInstaller::restartComputer() {
  Kernel& kernel = platform_.kernel;
  Security& security = platform_.security;

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

  return platform_.ui.exitWindowsEx(kEwxRebootForce, 0);
}

}  // namespace qlx
