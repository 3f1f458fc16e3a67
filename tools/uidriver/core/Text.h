// Text conversions between what Windows hands out (UTF-16, ANSI) and the
// UTF-8 of the log.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace uidriver {

// Unpaired surrogates and malformed bytes become U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);
std::u16string utf8ToUtf16(std::string_view text);

// One CB_GETLBTEXT answer read from a zero-filled buffer of `capacity`
// UTF-16 units, `returned` being the length the combo box reported (negative:
// CB_ERR). Sent across processes to an ANSI combo box the text may arrive as
// UTF-16 (Wine) or as ANSI bytes; whichever form has the reported length wins,
// ANSI bytes being read as Latin-1.
std::string listItemText(const char16_t* buffer, std::size_t capacity, long returned);

}  // namespace uidriver
