#include "win32/Dialogs.h"

#include "core/Answers.h"
#include "win32/Controls.h"

namespace uidriver {
namespace {

std::vector<int> indicesOf(std::span<const int> ids, const std::vector<int>& checked) {
  std::vector<int> indices;
  for (int id : checked) indices.push_back(radioIndex(ids, id));
  return indices;
}

JsonObject stateLine(Recorder& recorder, std::string_view event, WindowKind kind, HWND dialog) {
  std::span<const int> ids = radioIds(kind);
  RadioStates radios = readRadios(dialog, ids);
  JsonObject line = recorder.line(event);
  line.text("kind", kindName(kind))
      .flag("read", radios.read)
      .numbers("radioIds", std::vector<int>(ids.begin(), ids.end()))
      .texts("radios", radios.texts)
      .numbers("checked", radios.checkedIds)
      .numbers("checkedIndex", indicesOf(ids, radios.checkedIds));
  if (kind == WindowKind::PortDialog) {
    ComboState combo = readCombo(GetDlgItem(dialog, kComboId));
    if (combo.read)
      line.object("combo",
                  JsonObject().texts("items", combo.items).number("selection", combo.selection));
    else
      line.null("combo");
  }
  return line;
}

bool click(HWND button) {
  LRESULT ignored = 0;
  return button && sendWithin(button, BM_CLICK, 0, 0, ignored);
}

std::string choose(WindowKind kind, HWND dialog, const DialogAnswer& answer) {
  std::span<const int> ids = radioIds(kind);
  if (answer.radio >= 0) {
    int id = ids[size_t(answer.radio)];
    if (!click(GetDlgItem(dialog, id))) return "radio " + std::to_string(id) + " did not answer";
    RadioStates after = readRadios(dialog, ids);
    if (after.checkedIds != std::vector<int>{id})
      return "radio " + std::to_string(id) + " is not the one checked after the click";
  }
  if (answer.overwrite >= 0 && kind == WindowKind::PortDialog) {
    HWND combo = GetDlgItem(dialog, kComboId);
    LRESULT selected = CB_ERR, ignored = 0;
    if (!combo || !sendWithin(combo, CB_SETCURSEL, WPARAM(answer.overwrite), 0, selected) ||
        selected != answer.overwrite)
      return "the combo box did not select item " + std::to_string(answer.overwrite);
    // The notification a user's choice would send; the dialog reads the
    // selection only when Next is pressed.
    sendWithin(dialog, WM_COMMAND, MAKEWPARAM(kComboId, CBN_SELCHANGE), LPARAM(combo), ignored);
  }
  return {};
}

std::string_view actionName(DialogAction action) {
  switch (action) {
    case DialogAction::Next:
      return "next";
    case DialogAction::Escape:
      return "escape";
    case DialogAction::Close:
      return "close";
    case DialogAction::Choose:
      break;
  }
  return "choose";
}

}  // namespace

void recordOptionDialog(Recorder& recorder, WindowKind kind, HWND dialog) {
  recorder.write(stateLine(recorder, "dialog", kind, dialog));
}

std::string answerOptionDialog(Recorder& recorder, WindowKind kind, HWND dialog,
                               const DialogAnswer& answer) {
  std::string problem;
  if (answer.action == DialogAction::Choose) {
    problem = choose(kind, dialog, answer);
    recorder.write(stateLine(recorder, "chosen", kind, dialog));
  }
  if (problem.empty()) {
    LRESULT ignored = 0;
    switch (answer.action) {
      case DialogAction::Choose:
      case DialogAction::Next:
        if (!click(GetDlgItem(dialog, kNextId))) problem = "the Next button did not answer";
        break;
      case DialogAction::Escape:
        // What the dialog manager makes of the Escape key.
        if (!sendWithin(dialog, WM_COMMAND, IDCANCEL, 0, ignored))
          problem = "the dialog did not take IDCANCEL";
        break;
      case DialogAction::Close:
        if (!PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0)) problem = "cannot post SC_CLOSE";
        break;
    }
  }
  JsonObject line = recorder.line("answer");
  line.text("kind", kindName(kind)).text("action", actionName(answer.action));
  if (answer.action == DialogAction::Choose)
    line.number("radioIndex", answer.radio).number("overwriteIndex", answer.overwrite);
  line.flag("ok", problem.empty());
  if (!problem.empty()) line.text("problem", problem);
  recorder.write(line);
  return problem;
}

bool boxReady(HWND box) {
  HWND text = GetDlgItem(box, kBoxTextId);
  return text && GetWindowTextLengthW(text) > 0;
}

void recordBox(Recorder& recorder, HWND box, const std::string& caption) {
  HWND textControl = GetDlgItem(box, kBoxTextId);
  JsonObject line = recorder.line("box");
  line.text("caption", caption).numbers("buttons", boxButtons(box));
  if (textControl)
    line.text("text", windowText(textControl));
  else
    line.null("text");
  recorder.write(line);
}

std::string recordAndAnswerBox(Recorder& recorder, HWND box, const std::string& caption,
                               const Script& script) {
  recordBox(recorder, box, caption);
  std::vector<int> buttons = boxButtons(box);

  int button = boxButton(script, caption, buttons);
  // Written before the click: a Yes to the restart ends every process of the
  // prefix, this one included.
  recorder.write(recorder.line("answer").text("kind", "box").number("button", button));
  if (!button) return "no button of the box fits the script";
  if (!click(GetDlgItem(box, button)))
    return "button " + std::to_string(button) + " did not answer";
  return {};
}

}  // namespace uidriver
