#pragma once

#include <cstddef>
#include <string_view>

namespace qlx::runtime {

// The program name at the start of a process's command line, by Windows' own
// rule: a quoted name ends at its closing quote (what follows it at once is
// the first argument), an unquoted one at the first blank (space or tab). It
// takes no escapes. The one rule for everything that reads the command line.
std::size_t programNameLength(std::string_view commandLine);

// WinMain's command line: the process's command line after the program name
// and the blanks that follow it. Never null.
const char* commandTail(const char* commandLine);

}  // namespace qlx::runtime
