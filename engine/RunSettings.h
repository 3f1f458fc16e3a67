#pragma once

#include <string>

#include "engine/OsKind.h"

namespace qlx {

class InstallLog;

// What happens at the end of a fresh installation: the user is asked, or the
// answer is given beforehand.
enum class RestartChoice { Ask, Never, Force };

// What the user (through the dialogs or the command line) chose for this
// run; the flow builds it, every procedure reads it, none changes it.
struct RunSettings {
  PortCode port = kPortLpt1;
  // A port the spooler lists beyond the six of the port dialog ("USB001"),
  // as the spooler spells it: the printer is created on it instead.
  std::string otherPort;
  // Applies to the shared universal driver files on Windows 9x alone.
  OverwriteMode overwrite = kOverwriteNever;
  RestartChoice restart = RestartChoice::Ask;
  // Where the reports go besides the window. The pauses only pace what the
  // window shows; boxes need someone to close them.
  bool pauses = true;
  bool messageBoxes = true;
  InstallLog* log = nullptr;
};

}  // namespace qlx
