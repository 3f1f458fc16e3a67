#pragma once

#include "app/DialogFramework.h"
#include "app/OptionDialogs.h"

namespace qlx {

inline constexpr int kOsTypeDialogTemplate = 129;
inline constexpr int kPortTypeDialogTemplate = 130;
inline constexpr int kOsRadioGroupId = 1000;    // "Windows 95", first of seven
inline constexpr int kPortRadioGroupId = 1006;  // "COM1", first of six
inline constexpr int kOverwriteComboId = 1000;

// "Select OS Type" bound to its template: the platform radio group.
class OsTypeDialogBinding final : public DialogBehaviour {
 public:
  explicit OsTypeDialogBinding(OsTypeDialog& dialog) : dialog_(dialog) {}
  void exchangeData(DataExchange& exchange) override;

 private:
  OsTypeDialog& dialog_;
};

// "Select Port Type" bound to its template: the combo box object, the port
// radio group and the combo's selection; "Overwrite files by version" (or the
// item the command line names) is selected once the dialog has opened.
class PortTypeDialogBinding final : public DialogBehaviour {
 public:
  explicit PortTypeDialogBinding(PortTypeDialog& dialog) : dialog_(dialog) {}
  void exchangeData(DataExchange& exchange) override;
  void afterOpening() override;

  ControlObject overwriteCombo;

 private:
  PortTypeDialog& dialog_;
};

}  // namespace qlx
