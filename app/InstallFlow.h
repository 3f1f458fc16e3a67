#pragma once

#include "app/InstallOptions.h"
#include "app/OptionDialogs.h"
#include "engine/ExitCodes.h"
#include "engine/Reporter.h"
#include "platform/Platform.h"

namespace qlx {

class InstallLog;

// The whole installation, run once: detect the platform, configure the model,
// take the port and policy from the dialogs (interactive) or the options
// (unattended), run the platform's procedure. Returns the exit status the
// process must end with.
int runInstallFlow(Platform& platform, ProgressView view, OsTypeDialog& osTypeDialog,
                   PortTypeDialog& portTypeDialog, OptionDialogRunner& dialogs, UserInterface& ui,
                   const InstallOptions& options = {}, InstallLog* log = nullptr);

}  // namespace qlx
