#pragma once

#include "engine/Outcome.h"
#include "platform/Platform.h"

namespace qlx {

struct FamilySettings;
struct InstallationContents;
struct RunSettings;
class Reporter;

// The installation, run once: the check for an installation, then either
// one more printer for a complete one, the update of a complete one whose
// package is newer, or the family's components (which also completes a
// partial installation a failed run left), the printer, and after a fresh
// installation the clean-up, the uninstall entry and the restart question.
InstallOutcome runInstallation(Platform& platform, Reporter& reporter, const RunSettings& settings,
                               const FamilySettings& family, const InstallationContents& contents);

}  // namespace qlx
