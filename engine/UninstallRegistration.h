#pragma once

#include "platform/Platform.h"

namespace qlx {

class Reporter;
class RestartSchedule;
struct UpdatePlan;

// The entry in the system's list of installed software, an earlier one
// replaced; false, the failure shown, when it is not complete.
bool writeUninstallEntry(Platform& platform, Reporter& reporter);
// The uninstaller in its folder: all of its files, or (an update, `plan`)
// those the package has newer. False, the failure shown, when one is missing.
bool placeUninstallerFiles(Platform& platform, Reporter& reporter, RestartSchedule& schedule,
                           const UpdatePlan* plan = nullptr);
// Both.
bool registerUninstall(Platform& platform, Reporter& reporter, bool windows9x);

}  // namespace qlx
