#pragma once

#include <windows.h>

#include <string>

#include "app/InstallOptions.h"
#include "app/OptionDialogs.h"
#include "app/ProgressWindow.h"
#include "app/win32/Win32Dialog.h"
#include "app/win32/Win32OptionDialogs.h"
#include "engine/Reporter.h"

namespace qlx::win32 {

// The progress window (template 102). It owns the engine and both option
// dialogs, and its first timer tick runs the whole installation with the
// command line's options.
class ProgressDialog final : private DialogBehaviour,
                             private ProgressWindowOps,
                             public Win32Dialog {
 public:
  ProgressDialog(const InstallOptions& options, InstallLog* log);

 private:
  // DialogBehaviour
  void exchangeData(DataExchange& exchange) override;
  void afterOpening() override;
  // ProgressWindowOps
  void setIcon(unsigned which) override;
  void setTimer(unsigned id, unsigned intervalMs) override;
  void killTimer(unsigned id) override;
  int runInstallFlow() override;
  void endProcess(int status) override;
  // Win32Dialog
  bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
  void paintMinimised();

  ProgressView progressView;  // the engine's links to the status line and the bar
  OsTypeDialog osTypeDialog;
  PortTypeDialog portTypeDialog;
  ControlObject progressCtrl;
  std::string statusString;
  HICON appIcon;
  Win32OptionDialogs optionDialogs;
  const InstallOptions& options_;
  InstallLog* log_;
  bool installationStarted = false;
};

}  // namespace qlx::win32
