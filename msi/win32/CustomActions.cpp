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
#include "msi/win32/ProgramRun.h"
#include "msi/win32/RestartMarker.h"

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
LogFile gLog;

UINT runInstaller(const MsiSession& session, Stage stage, const PackageProperties& properties,
                  bool deferred) {
  if (!describeRun(stage, properties, gRun)) {
    session.log(kPrefix, "a path is too long: ", properties.installDir);
    return kActionFailure;
  }
  if (deferred) restart_marker::clear(gRun.restartMarker.c_str());

  gLog.open(gRun.log.c_str());
  const DWORD before = gLog.size();
  session.log(kPrefix, "running ", gRun.commandLine.view());
  const ProgramResult result = runProgram(gRun.program.c_str(), gRun.commandLine.data());
  forEachLine(gLog.readFrom(before), [&](std::string_view line) { session.log(kPrefix, line); });

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
        deferred ? restart_marker::leave(gRun.restartMarker.c_str()) : session.requestRestart();
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
  if (gProperties.read(session) && describeRun(Stage::Install, gProperties.view(), gRun) &&
      restart_marker::take(gRun.restartMarker.c_str()) && !session.requestRestart()) {
    session.log(kPrefix, "the restart could not be requested");
  }
  return kActionSuccess;
}

extern "C" BOOL __stdcall DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
