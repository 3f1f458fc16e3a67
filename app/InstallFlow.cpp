#include "app/InstallFlow.h"

#include "engine/InstallTexts.h"

namespace qlx {
namespace {

constexpr int kPortCount = 6;

int cancelled(UserInterface& ui) {
  ui.appMessageBox(text::kInstallCancelled, kMbOk, 0);
  return kExitSuccess;
}

int exitStatusOf(InstallResult result) {
  return result == InstallResult::Completed ? kExitSuccess : kExitFailure;
}

}  // namespace

int runInstallFlow(PrinterInstaller& installer, OsTypeDialog& osTypeDialog,
                   PortTypeDialog& portTypeDialog, OptionDialogRunner& dialogs, UserInterface& ui) {
  const OsKind osKind = installer.detectOsKind();
  installer.configureModel("957", 'E', true);

  // Preselects the detected platform; the user's pick is never read back.
  osTypeDialog.osIndex = osKind - kWindows95;
  if (dialogs.runModal(osTypeDialog) != DialogResult::Ok) return cancelled(ui);
  if (dialogs.runModal(portTypeDialog) != DialogResult::Ok) return cancelled(ui);

  const int portIndex = portTypeDialog.portIndex;
  const bool portChosen = portIndex >= 0 && portIndex < kPortCount;
  const PortCode port = kPortCom1 + portIndex;

  if (isWindows9x(osKind)) {
    installer.overwriteMode = portTypeDialog.overwriteIndex;
    return portChosen ? exitStatusOf(installer.installWin9x(port)) : kExitSuccess;
  }
  if (osKind >= kWindowsNt4 && osKind <= kWindowsXp) {
    return portChosen ? exitStatusOf(installer.installWinNtFamily(port)) : kExitSuccess;
  }
  if (osKind == kWindowsServer2003) {
    return portChosen ? exitStatusOf(installer.installWin2000Family(port)) : kExitSuccess;
  }

  ui.appMessageBox(text::kUnsupportedWindows, kMbOk | kMbIconWarning, 0);
  return kExitFailure;
}

}  // namespace qlx
