#pragma once

#include <string>

#include "platform/Kernel.h"

namespace qlx {

// A file Windows holds open (a monitor or print processor library the
// spooler has loaded) can only go when Windows next starts. Windows NT lets
// such a file be renamed: it is moved aside in its folder, so that its name
// is free at once for the next installation, and the copy aside is deleted
// at the next start (MoveFileExA). Windows 9x can do neither: the file is
// deleted before Windows next starts, by the [rename] section of WININIT.INI
// in its own directory, where "NUL=" followed by the file's short path means
// delete. True when it is scheduled; otherwise `error` says why.
bool deleteAtRestart(Kernel& kernel, bool windows9x, const std::string& path, Dword& error);

// The codes with which Windows refuses to replace or delete a file it holds
// open: a library in use.
inline bool isInUse(Dword error) {
  return error == kErrorAccessDenied || error == kErrorSharingViolation ||
         error == kErrorUserMappedFile;
}

// Frees the name of a file Windows NT holds open: the file is moved aside
// and deleted at the next start. False where that cannot be (Windows 9x).
bool moveAsideUntilRestart(Kernel& kernel, const std::string& path);

}  // namespace qlx
