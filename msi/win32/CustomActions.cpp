// QlxMsiActions.dll: the custom actions of QLX957_Installer.msi. They run
// QLX957_Installer.exe from the package's folder and answer Windows
// Installer with its exit code mapped (msi/core/ExitMapping.h), copying the
// program's log lines into the Windows Installer log.
//
// No C runtime and no heap: every buffer is a static of fixed size (the
// actions of one package never run at the same time), constant-initialised,
// so nothing needs constructors run at load.

#include "msi/core/ExitMapping.h"
#include "msi/core/InstallerRun.h"
#include "msi/core/LogLines.h"
#include "msi/win32/DriverOwnership.h"
#include "msi/win32/LogFile.h"
#include "msi/win32/MsiSession.h"
#include "msi/win32/NoteFile.h"
#include "msi/win32/ProgramRun.h"

namespace qlx::msi {
namespace {

constexpr char kPrefix[] = "QLX957_Installer: ";

struct Properties {
  PathText installDir, msiLog, tempFolder;

  bool read(const MsiSession& session) {
    return session.property("INSTALLDIR", installDir) &&
           session.property("MsiLogFileLocation", msiLog) &&
           session.property("TempFolder", tempFolder);
  }
  PackageProperties view() const { return {installDir.view(), msiLog.view(), tempFolder.view()}; }
};

Properties gProperties;
BoundedText<3 * kPathCapacity> gActionData;
InstallerRun gRun;
PathText gLog, gNote;
LogFile gLogFile;

// What a deferred action does when the program says a restart completes its
// work: note it for QlxRestart, or (rolling back, where QlxRestart never
// runs) only say so.
enum class Restart { Note, LogOnly };

// A deferred action's properties, from its CustomActionData.
bool readActionData(const MsiSession& session, PackageProperties& properties) {
  if (session.property("CustomActionData", gActionData) &&
      splitActionData(gActionData.view(), properties)) {
    return true;
  }
  session.log(kPrefix, "the action got no usable data: ", gActionData.view());
  return false;
}

// Calls `each` with the restart note's path in each output folder, the first
// choice first, until it returns true; true then.
template <typename Each>
bool forRestartNotes(const PackageProperties& properties, Each each) {
  const OutputFolders places = outputFolders(properties);
  for (std::size_t i = 0; i < places.count; ++i) {
    if (pathIn(places.folders[i], kRestartNoteName, gNote) && each(gNote.c_str())) return true;
  }
  return false;
}

void clearRestartNotes(const PackageProperties& properties) {
  forRestartNotes(properties, [](const char* path) {
    note_file::clear(path);
    return false;
  });
}

// The log in the first output folder that takes it; empty when none does.
std::string_view chooseLog(const PackageProperties& properties) {
  const OutputFolders places = outputFolders(properties);
  for (std::size_t i = 0; i < places.count; ++i) {
    if (pathIn(places.folders[i], kLogName, gLog) && canWrite(gLog.c_str())) return gLog.view();
  }
  gLog.clear();
  return {};
}

UINT runInstaller(const MsiSession& session, Stage stage, const PackageProperties& properties,
                  Restart restart) {
  const std::string_view log = chooseLog(properties);
  if (!describeRun(stage, properties.installDir, log, gRun)) {
    session.log(kPrefix, "a path is too long: ", properties.installDir);
    return kActionFailure;
  }
  if (log.empty()) {
    session.log(kPrefix, "no folder for the program's log can be written; it runs without one");
  }
  gLogFile.open(gLog.c_str());
  const DWORD before = log.empty() ? 0 : gLogFile.size();
  session.log(kPrefix, "running ", gRun.commandLine.view());
  const ProgramResult result = runProgram(gRun.program.c_str(), gRun.commandLine.data());
  if (!log.empty()) {
    forEachLine(gLogFile.readFrom(before),
                [&](std::string_view line) { session.log(kPrefix, line); });
  }

  BoundedText<64> number;
  if (!result.ran) {
    number.appendNumber(result.error);
    session.log(kPrefix, "the program could not be run, system error ", number.view());
    return kActionFailure;
  }
  const ActionOutcome outcome = mapExitCode(stage, result.exitCode);
  number.appendNumber(result.exitCode);
  session.log(kPrefix, "exit code ", number.view());
  session.log(kPrefix, outcome.meaning);
  if (outcome.restart && restart == Restart::Note &&
      !forRestartNotes(properties, note_file::leave)) {
    session.log(kPrefix, "the restart could not be requested");
  }
  return outcome.result;
}

// A note in a folder: the package's, where a newer package leaves one while
// its RemoveExistingProducts removes this package; or the temp folder, where
// the installing action leaves one for the rollback (which may run after the
// package's own files are gone).
bool packageNote(const MsiSession& session, std::string_view folder, std::string_view name) {
  if (pathIn(folder, name, gNote)) return true;
  session.log(kPrefix, "a path is too long: ", folder);
  return false;
}
bool replacingNote(const MsiSession& session, std::string_view installDir) {
  return packageNote(session, installDir, kReplacingNoteName);
}

}  // namespace
}  // namespace qlx::msi

using namespace qlx::msi;

// Deferred, after InstallFiles: installs the driver where the spooler lists
// none, or completes and updates the one this package (or the older package
// it replaces) installed. A driver that was there before the package stays
// as it is, with its printers, and never becomes the package's.
extern "C" UINT __stdcall QlxInstall(MSIHANDLE install) {
  const MsiSession session(install);
  PackageProperties properties;
  if (!readActionData(session, properties)) return kActionFailure;
  clearRestartNotes(properties);
  // gNote names the rollback's note from here until it is left.
  if (!packageNote(session, properties.tempFolder, kFreshNoteName)) return kActionFailure;
  note_file::clear(gNote.c_str());
  unsigned long listError = 0;
  const ownership::Listed before = ownership::driverListed(listError);
  const bool owned = ownership::recorded();
  if (before == ownership::Listed::Yes && !owned) {
    session.log(kPrefix,
                "the driver was installed before this package: it stays as it is, with its "
                "printers, and the package does not own it");
    return kActionSuccess;
  }
  if (before == ownership::Listed::Unknown) {
    BoundedText<64> number;
    number.appendNumber(static_cast<std::uint32_t>(listError));
    session.log(kPrefix,
                "the spooler's driver list cannot be read, so the package will not own "
                "the driver: system error ",
                number.view());
  } else {
    session.log(kPrefix, before == ownership::Listed::Yes
                             ? "the driver is in the spooler's list: this package owns it"
                             : "no driver of this name in the spooler's list: this package's run "
                               "installs it and owns it");
  }
  const bool fresh = before == ownership::Listed::No;
  if (fresh && !note_file::leave(gNote.c_str())) {
    session.log(kPrefix, "no note for the rollback can be left in ", gNote.view());
    return kActionFailure;
  }
  const UINT result = runInstaller(session, Stage::Install, properties, Restart::Note);
  if (result == kActionSuccess && fresh && !owned && !ownership::record()) {
    session.log(kPrefix, "the record that this package installed the driver cannot be written");
    return kActionFailure;
  }
  return result;
}

// Rollback: a failed installation takes away what its own run of the
// program installed where there was no driver before; nothing otherwise.
extern "C" UINT __stdcall QlxInstallRollback(MSIHANDLE install) {
  const MsiSession session(install);
  PackageProperties properties;
  if (!readActionData(session, properties) ||
      !packageNote(session, properties.tempFolder, kFreshNoteName)) {
    return kActionFailure;
  }
  if (!note_file::take(gNote.c_str())) {
    session.log(kPrefix, "the installation failed: the driver was there before it, and stays");
    return kActionSuccess;
  }
  session.log(kPrefix, "the installation failed: the driver it installed is removed");
  ownership::forget();
  return runInstaller(session, Stage::Removal, properties, Restart::LogOnly);
}

// Deferred, before RemoveFiles, only where this package installed the driver:
// a failed removal rolls the package back and leaves it registered.
extern "C" UINT __stdcall QlxUninstall(MSIHANDLE install) {
  const MsiSession session(install);
  PackageProperties properties;
  if (!readActionData(session, properties) || !replacingNote(session, properties.installDir)) {
    return kActionFailure;
  }
  if (note_file::exists(gNote.c_str())) {
    session.log(kPrefix, "a newer package replaces this one: the driver and its printers stay");
    return kActionSuccess;
  }
  clearRestartNotes(properties);
  const UINT result = runInstaller(session, Stage::Removal, properties, Restart::Note);
  if (result == kActionSuccess) ownership::forget();
  return result;
}

// Immediate, just before RemoveExistingProducts: the older package's removal
// keeps the driver. A note that cannot be left is logged and no failure:
// Windows Installer tells the older package through UPGRADINGPRODUCTCODE.
extern "C" UINT __stdcall QlxReplacing(MSIHANDLE install) {
  const MsiSession session(install);
  if (!gProperties.read(session) || !replacingNote(session, gProperties.installDir.view())) {
    session.log(kPrefix, "the package's folder cannot be read");
  } else if (!note_file::leave(gNote.c_str())) {
    session.log(kPrefix, "no note for the older package can be left in ", gNote.view());
  }
  return kActionSuccess;
}

// Immediate, right after RemoveExistingProducts: the note is done with.
extern "C" UINT __stdcall QlxReplaced(MSIHANDLE install) {
  const MsiSession session(install);
  if (gProperties.read(session) && replacingNote(session, gProperties.installDir.view())) {
    note_file::clear(gNote.c_str());
  }
  return kActionSuccess;
}

// Immediate, after InstallFinalize: the restart a deferred action noted.
// The installation is done: no rollback needs the installing action's note.
extern "C" UINT __stdcall QlxRestart(MSIHANDLE install) {
  const MsiSession session(install);
  if (!gProperties.read(session)) return kActionSuccess;
  if (packageNote(session, gProperties.tempFolder.view(), kFreshNoteName)) {
    note_file::clear(gNote.c_str());
  }
  bool noted = false;
  forRestartNotes(gProperties.view(), [&](const char* path) {
    noted = note_file::take(path) || noted;
    return false;
  });
  if (noted && !session.requestRestart()) {
    session.log(kPrefix, "the restart could not be requested");
  }
  return kActionSuccess;
}

extern "C" BOOL __stdcall DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
