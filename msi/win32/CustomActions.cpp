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
                  bool deferred) {
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
  if (outcome.restart) {
    const bool noted =
        deferred ? forRestartNotes(properties, note_file::leave) : session.requestRestart();
    if (!noted) session.log(kPrefix, "the restart could not be requested");
  }
  return outcome.result;
}

}  // namespace
}  // namespace qlx::msi

using namespace qlx::msi;

// Deferred, after InstallFiles: the properties come as its CustomActionData.
extern "C" UINT __stdcall QlxInstall(MSIHANDLE install) {
  const MsiSession session(install);
  PackageProperties properties;
  if (!session.property("CustomActionData", gActionData) ||
      !splitActionData(gActionData.view(), properties)) {
    session.log(kPrefix, "the install action got no usable data: ", gActionData.view());
    return kActionFailure;
  }
  clearRestartNotes(properties);
  return runInstaller(session, Stage::Install, properties, true);
}

// Immediate, before InstallInitialize: the driver goes before the files do,
// and a failure ends the removal before the package has removed anything.
extern "C" UINT __stdcall QlxUninstall(MSIHANDLE install) {
  const MsiSession session(install);
  if (!gProperties.read(session)) {
    session.log(kPrefix, "the package's folders cannot be read");
    return kActionFailure;
  }
  return runInstaller(session, Stage::Removal, gProperties.view(), false);
}

// Immediate, after InstallFinalize: the restart the install action noted.
extern "C" UINT __stdcall QlxRestart(MSIHANDLE install) {
  const MsiSession session(install);
  if (!gProperties.read(session)) return kActionSuccess;
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
