#pragma once

#include <cstddef>
#include <string_view>

#include "msi/core/BoundedText.h"
#include "msi/core/ExitMapping.h"

namespace qlx::msi {

inline constexpr std::size_t kPathCapacity = 520;
inline constexpr std::size_t kCommandCapacity = 1200;
using PathText = BoundedText<kPathCapacity>;
using CommandText = BoundedText<kCommandCapacity>;

inline constexpr std::string_view kLogName = "QLX957_Installer.log";
// Left by a deferred action for the immediate one after InstallFinalize,
// which alone may ask Windows Installer for the restart.
inline constexpr std::string_view kRestartNoteName = "QLX957_Installer.restart";
// Left in the package's folder by a newer package while it removes this one:
// Windows Installer tells the older package through UPGRADINGPRODUCTCODE,
// Wine's msiexec does not.
inline constexpr std::string_view kReplacingNoteName = "QLX957_Installer.replacing";
// Left in the temp folder by the installing action where the spooler
// listed no driver before its run: the rollback then takes away what that
// run installed, and only then. Cleared once the installation is done.
inline constexpr std::string_view kFreshNoteName = "QLX957_Installer.fresh";

// Where the package's properties put the program, its log and the notes.
// The immediate actions read the properties themselves; the deferred ones
// get the same three, joined by '|' (a character no Windows path holds), as
// their CustomActionData.
struct PackageProperties {
  std::string_view installDir;  // INSTALLDIR, ending in a backslash
  std::string_view msiLog;  // MsiLogFileLocation: empty without /l or before Windows Installer 4.5
  std::string_view tempFolder;  // TempFolder
};

bool splitActionData(std::string_view data, PackageProperties& properties);

// The folders for the program's log and the restart note, the first choice
// first: beside the Windows Installer log, then the temp folder. A deferred
// action runs as the local system account, which may not write the first;
// the caller takes the first it can write.
struct OutputFolders {
  std::string_view folders[2];
  std::size_t count = 0;
};

OutputFolders outputFolders(const PackageProperties& properties);

// `folder` and `name` with one backslash between. False when the folder is
// empty or the path does not fit.
bool pathIn(std::string_view folder, std::string_view name, PathText& path);

struct InstallerRun {
  PathText program;
  CommandText commandLine;
};

// Fills `run` anew: the program in `installDir` and its command line for the
// stage, with /log:`log` unless `log` is empty (no folder could take it).
// False when a part does not fit (the action then fails rather than run with
// a cut path).
bool describeRun(Stage stage, std::string_view installDir, std::string_view log, InstallerRun& run);

}  // namespace qlx::msi
