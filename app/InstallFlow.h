#pragma once

#include "app/OptionDialogs.h"
#include "engine/PrinterInstaller.h"

namespace qlx {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;

// The whole installation, run once from the progress window's first timer
// tick: detect the platform, configure the model, ask both questions, run the
// platform's procedure. Returns the exit status the process must end with.
int runInstallFlow(PrinterInstaller& installer, OsTypeDialog& osTypeDialog,
                   PortTypeDialog& portTypeDialog, OptionDialogRunner& dialogs, UserInterface& ui);

}  // namespace qlx
