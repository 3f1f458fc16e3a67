#include <windows.h>

#include "app/InstallFlow.h"
#include "app/win32/ProgressDialog.h"
#include "platform/win32/SystemLibraries.h"

namespace qlx::win32 {

// The application object: shows the progress window, whose first timer tick
// runs the installation and ends the process from inside the modal run.
class InstallerApp {
 public:
  int run() {
    // Registers the progress bar class and the three-dimensional look; without
    // it the progress window cannot open and the run below reports the error.
    loadCommonControls();
    ProgressDialog dialog;
    setMainWindow(&dialog);  // before the run: the engine's refreshes reach it this way
    DialogResult result = dialog.runModal();
    setMainWindow(nullptr);
    // Only when the window was closed before the installation started, or
    // could not be opened at all, which must not pass for success.
    return result == DialogResult::Error ? kExitFailure : kExitSuccess;
  }
};

constinit InstallerApp theApp;

}  // namespace qlx::win32

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // First of all, before any DLL is loaded at run time.
  narrowDllSearchPath();
  return qlx::win32::theApp.run();
}
