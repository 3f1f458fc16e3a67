#include <windows.h>

#include "app/CommandLine.h"
#include "app/InstallFlow.h"
#include "app/ProgramStart.h"
#include "app/StartUp.h"
#include "app/win32/ProgressDialog.h"
#include "app/win32/Win32OptionDialogs.h"
#include "app/win32/Win32UserInterface.h"
#include "platform/win32/SystemLibraries.h"
#include "runtime/win32/RuntimeFailure.h"

namespace qlx::win32 {

// The application object: reads the command line, then either runs the
// installation without any window (/quiet) or shows the progress window, whose
// first timer tick runs the installation and ends the process from inside the
// modal run.
class InstallerApp {
  static inline InstallLog* failureLog = nullptr;

 public:
  int run(const char* commandLine) {
    const ParsedCommandLine parsed = parseCommandLine(commandLine);
    InstallLog log(systemPlatform().kernel);
    // Nobody clicks a stop box in an unattended run: the log says it instead.
    failureLog = &log;
    const struct LogGone {
      ~LogGone() { failureLog = nullptr; }
    } logGone;
    runtimeFailureReport().configure(!isUnattended(parsed.options), [](const char* what) {
      if (failureLog != nullptr) {
        failureLog->writeWithoutAllocating({"Runtime failure: ", what, " Exit code 3"});
      }
    });
    const StartDecision start =
        startProgram(parsed, commandLine, systemPlatform().kernel, win32UserInterface(), log);
    if (!start.install) return start.exitCode;
    // After the log is open: a relative log path means the caller's folder.
    const std::string problem =
        prepareProcess(systemPlatform().kernel, win32UserInterface(),
                       [](unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; });
    if (!problem.empty()) {
      return stopBeforeInstalling(problem, parsed.options, win32UserInterface(), log);
    }
    if (parsed.options.mode == RunMode::Quiet) return runWithoutWindow(parsed.options, log);

    // Registers the progress bar class and the three-dimensional look; without
    // it the progress window cannot open and the run below reports the error.
    loadCommonControls();
    ProgressDialog dialog(parsed.options, &log);
    setMainWindow(&dialog);  // before the run: the engine's refreshes reach it this way
    DialogResult result = dialog.runModal();
    setMainWindow(nullptr);
    return endWithoutInstalling(result, parsed.options, log);
  }

 private:
  // The same flow and engine with no window: the engine's reports go to the
  // log only.
  static int runWithoutWindow(const InstallOptions& options, InstallLog& log) {
    OsTypeDialog osTypeDialog;
    PortTypeDialog portTypeDialog;
    Win32OptionDialogs unusedDialogs;
    return runInstallFlow(systemPlatform(), {}, osTypeDialog, portTypeDialog, unusedDialogs,
                          win32UserInterface(), options, &log);
  }
};

constinit InstallerApp theApp;

}  // namespace qlx::win32

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // First of all, before any DLL is loaded at run time.
  narrowDllSearchPath();
  // Read here rather than taken from the start-up code: the whole line, with
  // the program name, split by this program's own rules.
  const char* commandLine = GetCommandLineA();
  return qlx::win32::theApp.run(commandLine != nullptr ? commandLine : "");
}
