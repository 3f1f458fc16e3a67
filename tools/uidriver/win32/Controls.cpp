#include "win32/Controls.h"

#include <commctrl.h>

#include "core/Text.h"

namespace uidriver {

std::string wideToUtf8(const std::wstring& text) {
  return utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

std::wstring utf8ToWide(const std::string& text) {
  std::u16string wide = utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

std::string windowText(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::wstring text(size_t(length > 0 ? length : 0) + 256, L'\0');
  int copied = GetWindowTextW(hwnd, text.data(), int(text.size()));
  text.resize(size_t(copied > 0 ? copied : 0));
  return wideToUtf8(text);
}

bool sendWithin(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                UINT timeoutMs) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &answer))
    return false;
  result = LRESULT(answer);
  return true;
}

RadioStates readRadios(HWND dialog, std::span<const int> ids) {
  RadioStates states;
  states.read = true;
  for (int id : ids) {
    HWND button = GetDlgItem(dialog, id);
    LRESULT check = 0;
    if (!button || !sendWithin(button, BM_GETCHECK, 0, 0, check)) {
      states.read = false;
      states.texts.emplace_back();
      continue;
    }
    if (check == BST_CHECKED) states.checkedIds.push_back(id);
    states.texts.push_back(windowText(button));
  }
  return states;
}

ComboState readCombo(HWND combo) {
  ComboState state;
  LRESULT count = 0, selection = 0;
  if (!combo || !sendWithin(combo, CB_GETCOUNT, 0, 0, count) || count < 0 ||
      !sendWithin(combo, CB_GETCURSEL, 0, 0, selection))
    return state;
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = 0;
    if (!sendWithin(combo, CB_GETLBTEXTLEN, WPARAM(i), 0, length) || length < 0) return state;
    // Room for the text in either form, zero-filled so that listItemText can
    // tell them apart.
    std::u16string buffer(size_t(length) * 2 + 16, u'\0');
    LRESULT returned = 0;
    if (!sendWithin(combo, CB_GETLBTEXT, WPARAM(i), LPARAM(buffer.data()), returned)) return state;
    state.items.push_back(listItemText(buffer.data(), buffer.size(), long(returned)));
  }
  state.selection = int(selection);
  state.read = true;
  return state;
}

std::vector<int> boxButtons(HWND box) {
  std::vector<int> ids;
  for (int id = IDOK; id <= IDCONTINUE; ++id)
    if (HWND button = GetDlgItem(box, id); button && IsWindowVisible(button)) ids.push_back(id);
  return ids;
}

std::optional<int> PositionReader::read(HWND bar) {
  struct ControlState {
    DWORD self;
    INT position;
    INT low;
    INT high;
    INT step;
  } state = {};
  auto block = reinterpret_cast<const void*>(GetWindowLongPtrW(bar, 0));
  SIZE_T got = 0;
  if (block && ReadProcessMemory(process_, block, &state, sizeof(state), &got) &&
      got == sizeof(state) && state.self == DWORD(reinterpret_cast<UINT_PTR>(bar)) &&
      state.low <= state.position && state.position <= state.high)
    return state.position;
  if (askingFailed_) return std::nullopt;
  LRESULT position = 0;
  if (sendWithin(bar, PBM_GETPOS, 0, 0, position, 50)) return int(position);
  askingFailed_ = true;
  return std::nullopt;
}

}  // namespace uidriver
