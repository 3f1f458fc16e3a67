#pragma once

#include <string_view>

#include "msi/core/BoundedText.h"
#include "msi/core/ExitMapping.h"

namespace qlx::msi {

inline constexpr std::size_t kPathCapacity = 520;
inline constexpr std::size_t kCommandCapacity = 1200;
using PathText = BoundedText<kPathCapacity>;
using CommandText = BoundedText<kCommandCapacity>;

// Where the package's properties put the program, its log and the note that
// a restart is due. The immediate actions read the properties themselves;
// the deferred install action gets the same three, joined by '|' (a
// character no Windows path holds), as its CustomActionData.
struct PackageProperties {
  std::string_view installDir;  // INSTALLDIR, ending in a backslash
  std::string_view msiLog;  // MsiLogFileLocation: empty without /l or before Windows Installer 4.5
  std::string_view tempFolder;  // TempFolder
};

bool splitActionData(std::string_view data, PackageProperties& properties);

struct InstallerRun {
  PathText program;
  PathText log;            // beside the package's own log, else in the temp folder
  PathText restartMarker;  // left by the deferred action for the immediate one after it
  CommandText commandLine;
};

// Fills `run` anew. False when a path does not fit (the action then fails rather than run
// with a cut path).
bool describeRun(Stage stage, const PackageProperties& properties, InstallerRun& run);

}  // namespace qlx::msi
