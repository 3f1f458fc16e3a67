#pragma once

#include "app/OptionDialogs.h"

namespace qlx::win32 {

// The two option dialogs run from templates 129 and 130 over the main window.
class Win32OptionDialogs final : public OptionDialogRunner {
 public:
  DialogResult runModal(OsTypeDialog& dialog) override;
  DialogResult runModal(PortTypeDialog& dialog) override;
};

}  // namespace qlx::win32
