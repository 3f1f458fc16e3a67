#pragma once

#include <string_view>

#include "app/CommandLine.h"
#include "engine/InstallLog.h"
#include "platform/UserInterface.h"

namespace qlx {

// What the command line leads to before any window opens: run the
// installation, or end at once with `exitCode`.
struct StartDecision {
  bool install = false;
  int exitCode = 0;
};

// Opens the log the command line asks for and writes its header; answers
// "/?" and a bad command line (with the usage box when someone is there to
// read it). A log that cannot be opened ends the run before anything is
// installed.
StartDecision startProgram(const ParsedCommandLine& parsed, std::string_view commandLine,
                           Kernel& kernel, UserInterface& ui, InstallLog& log);

}  // namespace qlx
