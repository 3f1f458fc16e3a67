// What a test arranges in the prefix just before the installer starts, from
// the same process: printers deleted, keys created volatile.
#pragma once

#include <string>
#include <vector>

#include "core/Script.h"
#include "win32/Recorder.h"

namespace uidriver {

// Records each step; returns the problems, empty when all were done.
std::vector<std::string> arrangePrefix(const Script& script, Recorder& recorder);

}  // namespace uidriver
