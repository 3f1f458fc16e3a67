#pragma once

#include "platform/UserInterface.h"

namespace qlx::win32 {

// A progress bar control of a dialog, reached by SendMessageA. The window that
// owns the control attaches it once the control exists.
class Win32ProgressControl final : public ProgressControl {
 public:
  explicit Win32ProgressControl(WindowHandle control = 0) : control_(control) {}
  void attach(WindowHandle control) { control_ = control; }
  WindowHandle control() const { return control_; }

  std::intptr_t sendMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

 private:
  WindowHandle control_;
};

}  // namespace qlx::win32
