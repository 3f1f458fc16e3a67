#pragma once

#include <windows.h>

#include "app/DialogFramework.h"

namespace qlx::win32 {

// The program's own module, which holds every template, icon and bitmap.
HINSTANCE programInstance();

// The controls of one open dialog window, reached by window calls.
class Win32Controls final : public DialogControls {
 public:
  void setDialog(HWND dialog) { dialog_ = dialog; }
  std::vector<ControlInfo> children() override;
  ControlRef control(int id) override;
  std::intptr_t sendMessage(ControlRef control, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;
  std::string text(ControlRef control) override;
  void setText(ControlRef control, const std::string& text) override;

 private:
  HWND dialog_ = nullptr;
};

// A modal dialog run from a template resource of the program, its data
// exchanged by a DialogBehaviour.
class Win32Dialog {
 public:
  Win32Dialog(int templateId, DialogBehaviour& behaviour)
      : templateId_(templateId), behaviour_(behaviour) {}
  virtual ~Win32Dialog() = default;
  Win32Dialog(const Win32Dialog&) = delete;
  Win32Dialog& operator=(const Win32Dialog&) = delete;

  // Owned by the main window when there is one (and it is not this dialog).
  DialogResult runModal();
  HWND hwnd() const { return hwnd_; }
  void updateData(ExchangeDirection direction);

 protected:
  // A message the framework does not handle itself; true when handled, with
  // the dialog procedure's result in result.
  virtual bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

 private:
  static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR onInitDialog();
  void centre();

  int templateId_;
  DialogBehaviour& behaviour_;
  HWND hwnd_ = nullptr;
  Win32Controls controls_;
};

// The application's main window: owner of the other dialogs and of the
// application's message boxes, and the window the engine refreshes.
void setMainWindow(Win32Dialog* window);
Win32Dialog* mainWindow();
HWND mainWindowHandle();

}  // namespace qlx::win32
