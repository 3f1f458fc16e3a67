#include "app/win32/Win32UserInterface.h"

#include <windows.h>

#include <string>

#include "app/ApplicationTitle.h"
#include "app/win32/Win32Dialog.h"
#include "platform/win32/SystemLibrary.h"

namespace qlx::win32 {
namespace {

static_assert(kMbOk == MB_OK && kMbIconWarning == MB_ICONEXCLAMATION);

bool isLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

// The caption of the application's message boxes: the program file's name
// without its extension.
const std::string& applicationTitleOfProgram() {
  static const std::string title = [] {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return applicationTitle(std::string_view(path, length <= MAX_PATH ? length : 0), &isLeadByte);
  }();
  return title;
}

class Win32UserInterface final : public UserInterface {
 public:
  int messageBox(WindowHandle owner, const char* text, const char* caption,
                 unsigned type) override {
    return MessageBoxA(reinterpret_cast<HWND>(owner), text, caption, type);
  }

  int appMessageBox(const char* text, unsigned type,
                    unsigned /*helpContext: no help file*/) override {
    return MessageBoxA(mainWindowHandle(), text, applicationTitleOfProgram().c_str(),
                       applicationMessageBoxType(type));
  }

  void refreshMainWindow() override {
    Win32Dialog* window = mainWindow();
    if (window == nullptr || window->hwnd() == nullptr) return;
    window->updateData(ExchangeDirection::ToControls);
    // The installation dispatches no messages between its steps, so the new
    // status text and bar position are painted now (controls included) or not
    // at all.
    RedrawWindow(window->hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Wine puts what was drawn on screen only when the thread looks for
    // messages, which it would not do before the pause that follows is over:
    // the window would show the previous status all through the pause. A look
    // that matches no message takes nothing from the queue.
    MSG none;
    PeekMessageA(&none, window->hwnd(), WM_USER + 0x7F57, WM_USER + 0x7F57,
                 PM_NOREMOVE | PM_NOYIELD);
  }

  bool exitWindowsEx(unsigned flags, Dword reserved) override {
    return ExitWindowsEx(flags, reserved) != FALSE;
  }

  bool disableWindowsGhosting() override {
    // user32 is loaded already: the program imports it.
    auto disable = findExport<void(WINAPI*)()>(GetModuleHandleA("user32.dll"),
                                               "DisableProcessWindowsGhosting");
    if (disable == nullptr) return false;
    disable();
    return true;
  }
};

constinit Win32UserInterface userInterface;

}  // namespace
}  // namespace qlx::win32

qlx::UserInterface& win32UserInterface() { return qlx::win32::userInterface; }
