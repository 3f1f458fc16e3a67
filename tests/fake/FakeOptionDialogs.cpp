// The two option dialogs, answered as scripted.

#include "FakeState.h"

namespace qlx::fake {
namespace {

using detail::arg::number;

constexpr int kOsButtons = 8;    // Windows 95 .. Server 2003, Vista or later
constexpr int kPortButtons = 6;  // COM1..COM4, LPT1, LPT2

}  // namespace

DialogResult FakePlatform::runModal(OsTypeDialog& dialog) {
  State& s = *state_;
  s.log.record("RunOsTypeDialog", {number(dialog.osIndex)});
  ++s.osRuns;
  s.osIndexShown = dialog.osIndex;
  const State::DialogScript& script = s.osDialog;
  if (script.result != DialogResult::Ok) return script.result;
  // Without a click the button the dialog checked on opening is confirmed.
  const bool shownChecked = dialog.osIndex >= 0 && dialog.osIndex < kOsButtons;
  dialog.osIndex = script.first.value_or(shownChecked ? dialog.osIndex : -1);
  return DialogResult::Ok;
}

DialogResult FakePlatform::runModal(PortTypeDialog& dialog) {
  State& s = *state_;
  s.log.record("RunPortTypeDialog", {number(dialog.portIndex), number(dialog.overwriteIndex)});
  ++s.portRuns;
  const State::DialogScript& script = s.portDialog;
  if (script.result != DialogResult::Ok) return script.result;
  const bool shownChecked = dialog.portIndex >= 0 && dialog.portIndex < kPortButtons;
  dialog.portIndex = script.first.value_or(shownChecked ? dialog.portIndex : -1);
  // The combo box shows the item selected on opening unless the user picks another.
  dialog.overwriteIndex = script.second.value_or(dialog.initialOverwriteIndex);
  return DialogResult::Ok;
}

}  // namespace qlx::fake
