#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "app/DialogFramework.h"

namespace qlx::testing {

inline constexpr std::uint32_t kBsGroupBox = 0x07;
inline constexpr std::uint32_t kBsAutoCheckBox = 0x03;
inline constexpr std::uint32_t kBsDefPushButton = 0x01;
inline constexpr std::uint32_t kCbsDropDownList = 0x03;

// The controls of an open dialog, modelled as far as the framework uses them:
// radio buttons keep a check state, combo boxes a list and a selection, every
// control a text. Every message is logged in order.
class FakeDialogControls final : public DialogControls {
 public:
  struct Control {
    int id = 0;
    std::string className;
    std::uint32_t style = 0;
    bool checked = false;
    std::vector<std::string> items;
    int selection = -1;
    std::string text;
  };
  struct Message {
    int id;
    unsigned message;
    std::uintptr_t wParam;
    std::string stringArg;  // lParam read as a string for the "add string" messages
  };

  FakeDialogControls& add(int id, std::string className, std::uint32_t style) {
    Control c;
    c.id = id;
    c.className = std::move(className);
    c.style = style;
    controls.push_back(std::move(c));
    return *this;
  }
  FakeDialogControls& radio(int id, bool groupStart = false) {
    return add(id, "Button", kBsAutoRadioButton | (groupStart ? kWsGroup : 0));
  }

  Control& byId(int id) {
    for (Control& c : controls) {
      if (c.id == id) return c;
    }
    throw std::out_of_range("no control " + std::to_string(id));
  }
  std::vector<int> checkedIds() const {
    std::vector<int> ids;
    for (const Control& c : controls) {
      if (c.checked) ids.push_back(c.id);
    }
    return ids;
  }

  std::vector<ControlInfo> children() override {
    std::vector<ControlInfo> result;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      result.push_back({i + 1, controls[i].id, controls[i].className, controls[i].style});
    }
    return result;
  }
  ControlRef control(int id) override {
    for (std::size_t i = 0; i < controls.size(); ++i) {
      if (controls[i].id == id) return i + 1;
    }
    return 0;
  }
  std::intptr_t sendMessage(ControlRef ref, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) override {
    Control& c = controls.at(ref - 1);
    bool addsString = message == kCbAddString || message == kLbAddString;
    log.push_back({c.id, message, wParam,
                   addsString ? std::string(reinterpret_cast<const char*>(lParam)) : ""});
    switch (message) {
      case kBmSetCheck:
        c.checked = wParam == static_cast<std::uintptr_t>(kBstChecked);
        return 0;
      case kBmGetCheck:
        return c.checked ? kBstChecked : kBstUnchecked;
      case kCbAddString:
        if (refuseAdd) return kCbErrSpace;
        c.items.push_back(reinterpret_cast<const char*>(lParam));
        return static_cast<std::intptr_t>(c.items.size() - 1);
      case kCbSetCurSel: {
        auto index = static_cast<std::intptr_t>(wParam);
        bool valid = index >= 0 && index < static_cast<std::intptr_t>(c.items.size());
        c.selection = valid ? static_cast<int>(index) : -1;
        return valid ? index : kCbErr;
      }
      case kCbGetCurSel:
        return c.selection;
      default:
        return 0;
    }
  }
  std::string text(ControlRef ref) override { return controls.at(ref - 1).text; }
  void setText(ControlRef ref, const std::string& text) override {
    controls.at(ref - 1).text = text;
    log.push_back({controls.at(ref - 1).id, kSetTextMarker, 0, text});
  }

  static constexpr unsigned kSetTextMarker = 0xC;  // WM_SETTEXT, as the log shows it

  std::vector<Control> controls;
  std::vector<Message> log;
  bool refuseAdd = false;
};

// Template 129 as the window system reports it: the Next button, eight radio
// buttons in platform order (ids out of order), the group box.
inline FakeDialogControls osTypeTemplate() {
  FakeDialogControls d;
  d.add(1, "Button", kBsDefPushButton | 0x00010000);
  d.radio(1000, true)
      .radio(1001)
      .radio(1005)
      .radio(1002)
      .radio(1004)
      .radio(1003)
      .radio(1006)
      .radio(1007);
  d.add(-1, "Button", kBsGroupBox);
  return d;
}

// Template 130: the port buttons spread over two group boxes, the combo box
// inside the group, the static text that starts the next group.
inline FakeDialogControls portTypeTemplate() {
  FakeDialogControls d;
  d.add(1, "Button", kBsDefPushButton | 0x00010000);
  d.add(-1, "Button", kBsGroupBox);
  d.radio(1006, true).radio(1008).radio(1009).radio(1011);
  d.add(-1, "Button", kBsGroupBox);
  d.radio(1007).radio(1010);
  d.add(1000, "ComboBox", kCbsDropDownList | 0x00210000);
  d.add(-1, "Static", kWsGroup);
  return d;
}

// Template 130's dialog-initialisation record byte for byte as the resource
// compiler stores it: four CB_ADDSTRING (16-bit code) entries, then WORD 0.
inline std::vector<std::uint8_t> portDialogRecord() {
  std::vector<std::uint8_t> out;
  for (std::string item : {"Overwrite files by version", "Overwrite files by date",
                           "Always overwrite", "Never overwrite"}) {
    item += '\0';
    const std::uint8_t header[8] = {0xE8, 0x03, 0x03, 0x04, static_cast<std::uint8_t>(item.size()),
                                    0,    0,    0};
    out.insert(out.end(), header, header + 8);
    out.insert(out.end(), item.begin(), item.end());
  }
  out.insert(out.end(), {0, 0});
  return out;
}

}  // namespace qlx::testing
