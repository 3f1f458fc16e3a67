#pragma once

namespace qlx {

// How an install procedure ended: a fatal failure stops it right after its
// error box (or its log line), and the flow then ends the process with a
// failure status. Incomplete: it ran to its end, but something it had to
// place could not be placed, which the user has been shown.
enum class InstallResult { Completed, Incomplete, FatalError };

// What an installation did, for the flow's exit status.
struct InstallOutcome {
  InstallResult result = InstallResult::FatalError;
  bool freshInstallation = false;  // the installation was made or completed
  bool updated = false;            // a complete one was brought up to a newer package
  bool restartNeeded = false;      // what was done is complete when Windows starts again
  bool restartRequested = false;
};

}  // namespace qlx
