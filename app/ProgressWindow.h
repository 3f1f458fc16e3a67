#pragma once

#include <string>

#include "app/DialogFramework.h"

// What the progress window does, apart from the window calls themselves.
namespace qlx {

inline constexpr int kProgressDialogTemplate = 102;
inline constexpr int kProgressBarId = 1000;
inline constexpr int kStatusLineId = 1003;
inline constexpr int kApplicationIconId = 128;
inline constexpr unsigned kInstallTimerId = 1;
inline constexpr unsigned kInstallTimerIntervalMs = 1;
inline constexpr unsigned kIconSmall = 0;  // WM_SETICON's ICON_SMALL
inline constexpr unsigned kIconBig = 1;    // and ICON_BIG
inline constexpr unsigned kWmSetIcon = 0x0080;
inline constexpr std::intptr_t kBarRange0To100 = 100 << 16;  // low bound 0, high bound 100
inline constexpr std::uintptr_t kBarStep = 11;

// The window calls the progress window's handlers make.
class ProgressWindowOps {
 public:
  virtual ~ProgressWindowOps() = default;
  virtual void setIcon(unsigned which) = 0;  // the application icon, big or small
  virtual void setTimer(unsigned id, unsigned intervalMs) = 0;
  virtual void killTimer(unsigned id) = 0;
  virtual int runInstallFlow() = 0;  // the whole installation; its exit status
  virtual void endProcess(int status) = 0;
};

// The engine's two links back into the progress window.
struct ReportingLinks {
  std::string*& statusText;
  ProgressControl*& progressBar;
};

// The window's data exchange: the bar object attached to its control, the
// status line's text.
void exchangeProgressWindow(DataExchange& exchange, ControlObject& progressCtrl,
                            std::string& statusString);

// Once the window exists: its icons, the bar's range and step, and the timer
// whose first tick starts the installation.
void initialiseProgressWindow(ProgressWindowOps& window, ProgressControl& progressCtrl);

// A timer tick (whatever its id): stops the timer, links the engine to the
// status line and the bar, runs the installation and ends the process with its
// status. The installation starts only once: a tick already queued when the
// timer stopped arrives through the message loops of the installation's own
// dialogs and boxes, and `installationStarted` turns it away.
void onProgressTimer(ProgressWindowOps& window, ReportingLinks links, std::string& statusString,
                     ProgressControl& progressCtrl, bool& installationStarted);

}  // namespace qlx
