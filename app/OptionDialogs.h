#pragma once

namespace qlx {

// How a modal dialog was closed: Next (OK), Escape or the close box (Cancel),
// or it could not be opened (Error).
enum class DialogResult { Ok, Cancel, Error };

// "Select OS Type": the index of the checked platform button, -1 for none.
struct OsTypeDialog {
  int osIndex = -1;
};

// "Select Port Type": the port button index (LPT1 preselected) and the
// selection index of the overwrite combo box.
struct PortTypeDialog {
  int portIndex = 4;
  int overwriteIndex = -1;
  int initialOverwriteIndex = 0;  // the combo item selected once the dialog has opened
};

// Runs the two option dialogs modally over the progress window. After an Ok
// result the dialog's members hold the user's choices; otherwise they are
// left as they were.
class OptionDialogRunner {
 public:
  virtual ~OptionDialogRunner() = default;
  virtual DialogResult runModal(OsTypeDialog& dialog) = 0;
  virtual DialogResult runModal(PortTypeDialog& dialog) = 0;
};

}  // namespace qlx
