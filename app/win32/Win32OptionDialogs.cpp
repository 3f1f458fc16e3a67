#include "app/win32/Win32OptionDialogs.h"

#include "app/OptionDialogBindings.h"
#include "app/win32/Win32Dialog.h"

namespace qlx::win32 {

DialogResult Win32OptionDialogs::runModal(OsTypeDialog& dialog) {
  OsTypeDialogBinding binding(dialog);
  Win32Dialog window(kOsTypeDialogTemplate, binding);
  return window.runModal();
}

DialogResult Win32OptionDialogs::runModal(PortTypeDialog& dialog) {
  PortTypeDialogBinding binding(dialog);
  Win32Dialog window(kPortTypeDialogTemplate, binding);
  return window.runModal();
}

}  // namespace qlx::win32
