#pragma once

#include <optional>
#include <string>

#include "engine/OsKind.h"
#include "engine/RunSettings.h"

namespace qlx {

// Who is there to watch: the user with the dialogs (Interactive), nobody but
// with the progress window on screen (Passive), or nobody at all (Quiet).
enum class RunMode { Interactive, Passive, Quiet };

// Everything the command line can ask for, as one plain value.
struct InstallOptions {
  RunMode mode = RunMode::Interactive;
  std::optional<int> portIndex;  // 0..5: COM1..COM4, LPT1, LPT2
  std::string otherPort;         // any other port, as given: the spooler must list it
  std::optional<OverwriteMode> overwrite;
  RestartChoice restart = RestartChoice::Ask;
  std::string logFile;  // empty: no log
  bool usage = false;   // "/?"
  bool uninstall = false;
  bool once = false;  // nothing to do where a complete installation is there
};

inline bool isUnattended(const InstallOptions& options) {
  return options.mode != RunMode::Interactive;
}

// What the port dialog preselects and the unattended modes take by default.
inline constexpr int kDefaultPortIndex = 4;  // LPT1
inline constexpr OverwriteMode kDefaultOverwrite = kOverwriteByVersion;

}  // namespace qlx
