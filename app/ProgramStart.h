#pragma once

#include <string>
#include <string_view>

#include "app/ApplicationTitle.h"
#include "platform/Kernel.h"
#include "platform/UserInterface.h"

// What the program does before the installation or its window starts.
namespace qlx {

// The folder of a module path with its final backslash ("C:\\pkg\\setup.exe"
// gives "C:\\pkg\\", "C:\\setup.exe" gives "C:\\"); empty when the path names
// no folder.
std::string programFolder(std::string_view modulePath, LeadBytePredicate isLeadByte = nullptr);

// The package folders and the uninstaller files are named relative to the
// current directory, which a shortcut, the Run box or a prompt elsewhere may
// have set to any folder: the program's own folder becomes the current
// directory. Where it cannot, the package would be read from some other
// folder: the reason is returned (naming the folder) and the run must stop.
// Then Windows is told not to replace the progress window with a "(Not
// Responding)" ghost while the installation holds it for seconds without
// taking messages. Call before the progress window opens. Empty: ready.
std::string prepareProcess(Kernel& kernel, UserInterface& ui,
                           LeadBytePredicate isLeadByte = nullptr);

}  // namespace qlx
