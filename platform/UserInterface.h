#pragma once

#include "platform/Types.h"

namespace qlx {

// USER32 and the dialog framework as far as the engine and the flow reach them.
class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual int messageBox(WindowHandle owner, const char* text, const char* caption,
                         unsigned type) = 0;  // MessageBoxA
  // The application's message box: captioned with the program's name; an OK
  // box without an icon gets the warning icon.
  virtual int appMessageBox(const char* text, unsigned type, unsigned helpContext) = 0;
  // The main (progress) window moves its members into its controls.
  virtual void refreshMainWindow() = 0;
  virtual bool exitWindowsEx(unsigned flags, Dword reserved) = 0;  // ExitWindowsEx
  // DisableProcessWindowsGhosting, looked up in user32 (XP and later): false,
  // and nothing done, where the system does not have it.
  virtual bool disableWindowsGhosting() = 0;
};

// A progress bar control reached by its messages (SendMessageA).
class ProgressControl {
 public:
  virtual ~ProgressControl() = default;
  virtual std::intptr_t sendMessage(unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) = 0;
};

inline constexpr unsigned kPbmSetRange = 0x401;
inline constexpr unsigned kPbmSetPos = 0x402;
inline constexpr unsigned kPbmSetStep = 0x404;
inline constexpr unsigned kPbmStepIt = 0x405;
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconWarning = 0x30;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
inline constexpr unsigned kEwxRebootForce = 0x6;  // EWX_REBOOT | EWX_FORCE

}  // namespace qlx
