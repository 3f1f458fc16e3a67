#pragma once

namespace qlx::runtime {

// WinMain's command line: the process's command line after the program name
// and the blanks that follow it. A quoted program name ends at the closing
// quote, an unquoted one at the first blank (space or tab). Never null.
const char* commandTail(const char* commandLine);

}  // namespace qlx::runtime
