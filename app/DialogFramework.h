#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/OptionDialogs.h"
#include "platform/UserInterface.h"

// The portable half of the installer's small dialog framework: the data
// exchange between a dialog's controls and its members, and what happens when
// a dialog opens or is confirmed. The Win32 half (app/win32/) only translates
// the DialogControls operations into window calls.
namespace qlx {

// A control window of an open dialog; 0 names none.
using ControlRef = std::uintptr_t;

struct ControlInfo {
  ControlRef ref = 0;
  int id = 0;
  std::string className;  // as the window system reports it ("Button", ...)
  std::uint32_t style = 0;
};

class ControlObject;

// The controls of one open dialog, as the framework reaches them.
class DialogControls {
 public:
  virtual ~DialogControls() = default;
  // Every child control in template order (which is creation and tab order).
  virtual std::vector<ControlInfo> children() = 0;
  virtual ControlRef control(int id) = 0;  // 0 when the dialog has no such control
  virtual std::intptr_t sendMessage(ControlRef control, unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) = 0;
  virtual std::string text(ControlRef control) = 0;
  virtual void setText(ControlRef control, const std::string& text) = 0;

  // Control objects attached to this dialog's controls lose their control when
  // the dialog's window goes away.
  void rememberAttached(ControlObject& object);
  void detachAll();

 private:
  std::vector<ControlObject*> attached_;
};

// A member object standing for one control (the progress bar, the combo box):
// messages sent to it go to the control once it is attached, and nowhere
// before.
class ControlObject : public ProgressControl {
 public:
  bool attached() const { return controls_ != nullptr; }
  ControlRef control() const { return control_; }
  void attach(DialogControls& controls, ControlRef control);
  void detach();
  std::intptr_t sendMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

 private:
  DialogControls* controls_ = nullptr;
  ControlRef control_ = 0;
};

enum class ExchangeDirection { ToControls, FromControls };

// One run of a dialog's data exchange in one direction. A member bound to a
// control the dialog lacks is left alone.
class DataExchange {
 public:
  DataExchange(DialogControls& controls, ExchangeDirection direction)
      : controls_(controls), direction_(direction) {}
  ExchangeDirection direction() const { return direction_; }

  // The radio group that starts at control firstId and runs up to the next
  // control that starts a group; index counts only the group's radio buttons.
  // Toward the controls the button at index is checked and all others
  // unchecked; from the controls index becomes the checked button's, or -1.
  void radioGroup(int firstId, int& index);
  // Selection index of a combo box, -1 meaning no selection.
  void comboSelection(int id, int& index);
  // The control's window text.
  void windowText(int id, std::string& text);
  // Attaches the object to the control once; later exchanges leave it alone.
  void attach(int id, ControlObject& object);

 private:
  DialogControls& controls_;
  ExchangeDirection direction_;
};

// What one dialog adds to the framework.
class DialogBehaviour {
 public:
  virtual ~DialogBehaviour() = default;
  virtual void exchangeData(DataExchange& exchange) = 0;
  // After the exchange toward the controls when the dialog opens.
  virtual void afterOpening() {}
};

// Opening a dialog: its initialisation record (if it has one), then the
// exchange toward the controls, then the dialog's own step. False when the
// record cannot be applied; the dialog must then end with the error result.
bool openDialog(DialogControls& controls, const std::span<const std::uint8_t>* initRecord,
                DialogBehaviour& behaviour);

// Next (OK) pressed: the exchange from the controls into the members.
void confirmDialog(DialogControls& controls, DialogBehaviour& behaviour);

// A button counts in a radio group only if it is a radio button.
bool isRadioButton(const ControlInfo& control);

// The end code of a modal run (DialogBoxParamA) as the framework's result.
DialogResult dialogResultFromCode(std::intptr_t code);

// Window style bits and messages the exchange relies on (checked against the
// Windows headers in the Win32 build).
inline constexpr std::uint32_t kWsGroup = 0x00020000;
inline constexpr std::uint32_t kBsTypeMask = 0x0F;
inline constexpr std::uint32_t kBsRadioButton = 0x04;
inline constexpr std::uint32_t kBsAutoRadioButton = 0x09;
inline constexpr unsigned kBmGetCheck = 0x00F0;
inline constexpr unsigned kBmSetCheck = 0x00F1;
inline constexpr int kBstUnchecked = 0;
inline constexpr int kBstChecked = 1;
inline constexpr unsigned kCbAddString = 0x0143;
inline constexpr unsigned kCbGetCurSel = 0x0147;
inline constexpr unsigned kCbSetCurSel = 0x014E;
inline constexpr unsigned kLbAddString = 0x0180;
inline constexpr std::intptr_t kCbErr = -1;
inline constexpr std::intptr_t kCbErrSpace = -2;
inline constexpr int kIdCancel = 2;

}  // namespace qlx
