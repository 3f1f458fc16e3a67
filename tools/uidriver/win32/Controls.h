// Reading and working the installer's controls from outside its process.
//
// Between its steps the installer sleeps on its only thread without taking
// messages, so a sent message would wait for the next dialog. Texts and the
// bar position are therefore read without messages; messages are sent only
// to dialogs and message boxes, whose modal loops answer them, and always
// with a time limit.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace uidriver {

std::string wideToUtf8(const std::wstring& text);
std::wstring utf8ToWide(const std::string& text);

// The window's stored text (no message is sent to another process).
std::string windowText(HWND hwnd);

// SendMessageTimeoutW with a limit; false when the window did not answer.
bool sendWithin(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                UINT timeoutMs = 3000);

struct RadioStates {
  bool read = false;
  std::vector<int> checkedIds;
  std::vector<std::string> texts;  // in the order of the ids asked for
};
RadioStates readRadios(HWND dialog, std::span<const int> ids);

struct ComboState {
  bool read = false;
  std::vector<std::string> items;
  int selection = -1;
};
ComboState readCombo(HWND combo);

// The ids of the buttons a message box has (1 to 11, as MessageBox uses).
std::vector<int> boxButtons(HWND box);

// The bar's position. Under Wine the control keeps its state in a block that
// its window's first extra slot points to, beginning with the control's own
// handle, the position, the range and the step; that block is read when the
// handle at its start proves it is one. Otherwise the control is asked with
// PBM_GETPOS, and no more once it failed to answer in time.
class PositionReader {
 public:
  explicit PositionReader(HANDLE process) : process_(process) {}
  std::optional<int> read(HWND bar);

 private:
  HANDLE process_;
  bool askingFailed_ = false;
};

}  // namespace uidriver
