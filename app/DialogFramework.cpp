#include "app/DialogFramework.h"

#include <algorithm>
#include <optional>

#include "app/DialogInit.h"
#include "engine/Names.h"

namespace qlx {

void DialogControls::rememberAttached(ControlObject& object) { attached_.push_back(&object); }

void DialogControls::detachAll() {
  for (ControlObject* object : attached_) object->detach();
  attached_.clear();
}

void ControlObject::attach(DialogControls& controls, ControlRef control) {
  controls_ = &controls;
  control_ = control;
  controls.rememberAttached(*this);
}

void ControlObject::detach() {
  controls_ = nullptr;
  control_ = 0;
}

std::intptr_t ControlObject::sendMessage(unsigned message, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
  if (controls_ == nullptr) return 0;
  return controls_->sendMessage(control_, message, wParam, lParam);
}

bool isRadioButton(const ControlInfo& control) {
  // Class names are ASCII; the C library's locale has no say here.
  std::uint32_t type = control.style & kBsTypeMask;
  return sameName(control.className, "button") &&
         (type == kBsRadioButton || type == kBsAutoRadioButton);
}

void DataExchange::radioGroup(int firstId, int& index) {
  ControlRef first = controls_.control(firstId);
  if (first == 0) return;
  std::vector<ControlInfo> children = controls_.children();
  auto it = std::find_if(children.begin(), children.end(),
                         [first](const ControlInfo& c) { return c.ref == first; });
  if (it == children.end()) return;

  std::optional<int> checked;
  int buttonIndex = 0;
  for (auto member = it; member != children.end(); ++member) {
    if (member != it && (member->style & kWsGroup) != 0) break;
    if (!isRadioButton(*member)) continue;
    if (direction_ == ExchangeDirection::ToControls) {
      int state = buttonIndex == index ? kBstChecked : kBstUnchecked;
      controls_.sendMessage(member->ref, kBmSetCheck, static_cast<std::uintptr_t>(state), 0);
    } else if (!checked && controls_.sendMessage(member->ref, kBmGetCheck, 0, 0) == kBstChecked) {
      checked = buttonIndex;
    }
    ++buttonIndex;
  }
  if (direction_ == ExchangeDirection::FromControls) index = checked.value_or(-1);
}

void DataExchange::comboSelection(int id, int& index) {
  ControlRef combo = controls_.control(id);
  if (combo == 0) return;
  if (direction_ == ExchangeDirection::ToControls) {
    // CB_SETCURSEL takes the index as an unsigned WPARAM; -1 clears the selection.
    controls_.sendMessage(combo, kCbSetCurSel, static_cast<std::uintptr_t>(index), 0);
  } else {
    std::intptr_t selection = controls_.sendMessage(combo, kCbGetCurSel, 0, 0);
    index = selection < 0 ? -1 : static_cast<int>(selection);
  }
}

void DataExchange::windowText(int id, std::string& text) {
  ControlRef control = controls_.control(id);
  if (control == 0) return;
  if (direction_ == ExchangeDirection::ToControls) {
    controls_.setText(control, text);
  } else {
    text = controls_.text(control);
  }
}

void DataExchange::attach(int id, ControlObject& object) {
  if (object.attached()) return;
  ControlRef control = controls_.control(id);
  if (control != 0) object.attach(controls_, control);
}

bool openDialog(DialogControls& controls, const std::span<const std::uint8_t>* initRecord,
                DialogBehaviour& behaviour) {
  if (initRecord != nullptr) {
    auto entries = parseDialogInit(*initRecord);
    if (!entries || !applyDialogInit(*entries, controls)) return false;
  }
  DataExchange exchange(controls, ExchangeDirection::ToControls);
  behaviour.exchangeData(exchange);
  behaviour.afterOpening();
  return true;
}

void confirmDialog(DialogControls& controls, DialogBehaviour& behaviour) {
  DataExchange exchange(controls, ExchangeDirection::FromControls);
  behaviour.exchangeData(exchange);
}

DialogResult dialogResultFromCode(std::intptr_t code) {
  if (code == kIdOk) return DialogResult::Ok;
  if (code == kIdCancel) return DialogResult::Cancel;
  return DialogResult::Error;
}

}  // namespace qlx
