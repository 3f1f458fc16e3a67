#pragma once

#include <string_view>

#include "app/CommandLine.h"
#include "app/DialogFramework.h"
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

// The progress window's modal run returned, so the installation never ran:
// the window was closed before its first tick, or could not be opened at all
// (`result` Error), which must not pass for success. Logs the outcome and
// gives the exit status for the run's mode.
int endWithoutInstalling(DialogResult result, const InstallOptions& options, InstallLog& log);

// Something stops the run before it installs (`problem`, as the user reads
// it): a box for the user, the log, and the exit status of a fatal failure.
int stopBeforeInstalling(const std::string& problem, const InstallOptions& options,
                         UserInterface& ui, InstallLog& log);

}  // namespace qlx
