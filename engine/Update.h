#pragma once

#include "engine/Outcome.h"
#include "engine/UpdatePlan.h"
#include "platform/Platform.h"

namespace qlx {

struct FamilySettings;
struct InstallationSurvey;
struct RunSettings;
class Reporter;

// The package's files against the installed ones; nothing is changed.
UpdatePlan planUpdate(Platform& platform, Reporter& reporter, const InstallationContents& contents,
                      const InstallationSurvey& survey);

// A complete installation brought up to the package's newer files in place.
InstallOutcome updateInstallation(Platform& platform, Reporter& reporter,
                                  const RunSettings& settings, const FamilySettings& family,
                                  const InstallationContents& contents, const UpdatePlan& plan);

}  // namespace qlx
