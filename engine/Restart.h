#pragma once

#include "engine/RunSettings.h"
#include "platform/Platform.h"

namespace qlx {

struct FamilySettings;
class Reporter;

// A forced restart, with the shutdown privilege enabled in the process
// token; false when it cannot be asked for.
bool restartComputer(Platform& platform);

// After a change that is complete only when Windows starts again: the
// restart as `choice` says (asking the user, or not), logged. True when a
// restart was requested; the run then goes on to its end.
bool offerRestart(Platform& platform, Reporter& reporter, RestartChoice choice,
                  const FamilySettings& family);

}  // namespace qlx
