#pragma once

#include "platform/Platform.h"

namespace qlx {

class Reporter;

// The record that a run is under way: written in the registry before the
// run's first change and cleared at its end, so that a run cut short (a
// power cut, a killed process) is known to the next one, which then
// completes that run's work rather than take the result for a finished
// installation.
enum class RunUnderWay { None, Installation, Removal };

RunUnderWay runUnderWay(Platform& platform);
// False, the failure shown, when the registry refuses it: the run must then
// change nothing.
bool recordRunUnderWay(Platform& platform, Reporter& reporter, RunUnderWay run);
void clearRunUnderWay(Platform& platform, Reporter& reporter);

}  // namespace qlx
