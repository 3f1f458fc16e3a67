#pragma once

#include <string>

#include "platform/Kernel.h"

namespace qlx {

// A file Windows holds open (a monitor or print processor library the
// spooler has loaded) can only go when Windows next starts: Windows NT takes
// it from MoveFileExA; Windows 9x, which lacks that, from the [rename]
// section of WININIT.INI in its own directory, where "NUL=" followed by the
// file's short path means delete. True when it is scheduled; otherwise
// `error` says why.
bool deleteAtRestart(Kernel& kernel, bool windows9x, const std::string& path, Dword& error);

}  // namespace qlx
