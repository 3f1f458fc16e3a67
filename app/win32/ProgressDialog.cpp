#include "app/win32/ProgressDialog.h"

#include <commctrl.h>

#include <cstdlib>

#include "app/InstallFlow.h"
#include "app/WindowGeometry.h"
#include "app/win32/Win32UserInterface.h"

namespace qlx::win32 {

static_assert(kWmSetIcon == WM_SETICON && kIconBig == ICON_BIG && kIconSmall == ICON_SMALL);
static_assert(kPbmSetRange == PBM_SETRANGE && kPbmSetStep == PBM_SETSTEP);

ProgressDialog::ProgressDialog(const InstallOptions& options, InstallLog* log)
    : Win32Dialog(kProgressDialogTemplate, *this),
      appIcon(LoadIconA(programInstance(), MAKEINTRESOURCEA(kApplicationIconId))),
      options_(options),
      log_(log) {}

void ProgressDialog::exchangeData(DataExchange& exchange) {
  exchangeProgressWindow(exchange, progressCtrl, statusString);
}

void ProgressDialog::afterOpening() { initialiseProgressWindow(*this, progressCtrl); }

void ProgressDialog::setIcon(unsigned which) {
  SendMessageA(hwnd(), WM_SETICON, which, reinterpret_cast<LPARAM>(appIcon));
}

void ProgressDialog::setTimer(unsigned id, unsigned intervalMs) {
  SetTimer(hwnd(), id, intervalMs, nullptr);
}

void ProgressDialog::killTimer(unsigned id) { KillTimer(hwnd(), id); }

int ProgressDialog::runInstallFlow() {
  return qlx::runInstallFlow(systemPlatform(), progressView, osTypeDialog, portTypeDialog,
                             optionDialogs, win32UserInterface(), options_, log_);
}

// The window and its members are left as they are: exit() runs only the
// clean-up registered for static objects.
void ProgressDialog::endProcess(int status) { std::exit(status); }

bool ProgressDialog::handleMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
  switch (message) {
    case WM_TIMER:
      onProgressTimer(*this, {progressView.statusText, progressView.progressBar}, statusString,
                      progressCtrl, installationStarted);
      result = TRUE;
      return true;
    case WM_PAINT:
      if (!IsIconic(hwnd())) return false;
      paintMinimised();
      result = TRUE;
      return true;
    case WM_QUERYDRAGICON:
      // One of the messages whose dialog-procedure result is the answer itself.
      result = reinterpret_cast<INT_PTR>(appIcon);
      return true;
    default:
      return false;
  }
}

void ProgressDialog::paintMinimised() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd(), &paint);
  SendMessageA(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(hwnd(), &client);
  Point at = minimisedIconPosition(client.right - client.left, client.bottom - client.top,
                                   GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  DrawIcon(dc, at.x, at.y, appIcon);
  EndPaint(hwnd(), &paint);
}

}  // namespace qlx::win32
