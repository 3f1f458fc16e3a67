#include "app/OptionDialogBindings.h"

namespace qlx {

void OsTypeDialogBinding::exchangeData(DataExchange& exchange) {
  exchange.radioGroup(kOsRadioGroupId, dialog_.osIndex);
}

void PortTypeDialogBinding::exchangeData(DataExchange& exchange) {
  exchange.attach(kOverwriteComboId, overwriteCombo);
  exchange.radioGroup(kPortRadioGroupId, dialog_.portIndex);
  exchange.comboSelection(kOverwriteComboId, dialog_.overwriteIndex);
}

void PortTypeDialogBinding::afterOpening() {
  overwriteCombo.sendMessage(kCbSetCurSel,
                             static_cast<std::uintptr_t>(dialog_.initialOverwriteIndex), 0);
}

}  // namespace qlx
