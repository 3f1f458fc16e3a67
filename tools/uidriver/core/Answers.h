// Which button answers a message box.
#pragma once

#include <string_view>
#include <vector>

#include "core/Script.h"

namespace uidriver {

inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;
inline constexpr int kYesButton = 6;
inline constexpr int kNoButton = 7;

// The restart question (its caption, or a Yes/No box) gets the script's
// restart answer; any other box its OK button, else Cancel. 0: no button fits.
int boxButton(const Script& script, std::string_view caption, const std::vector<int>& buttons);

// Whether the progress window's status line `shown` is the script's
// --end-at status: the same text, the line end the installer adds left out.
bool endsAt(const Script& script, std::string_view shown);

}  // namespace uidriver
