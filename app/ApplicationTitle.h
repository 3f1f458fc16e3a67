#pragma once

#include <string>
#include <string_view>

namespace qlx {

// Tells whether a byte starts a two-byte character in the ANSI code page, so
// that a trail byte equal to '\\' is not taken for a separator.
using LeadBytePredicate = bool (*)(unsigned char byte);

// The application title: the program file's name without its directory and
// without its extension ("C:\\Setup\\QLX957_Installer.exe" gives
// "QLX957_Installer").
std::string applicationTitle(std::string_view modulePath, LeadBytePredicate isLeadByte = nullptr);

// The style of the application's message box: a box with only an OK button
// and no icon of its own gets the warning icon.
unsigned applicationMessageBoxType(unsigned type);

}  // namespace qlx
