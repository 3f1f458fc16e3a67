#pragma once

#include "platform/Platform.h"

namespace qlx {

struct InstallationContents;
class Reporter;

// Every file the installation will read must be in the package before
// anything is changed; false, with the missing files shown, otherwise.
bool checkPackage(Platform& platform, Reporter& reporter, const InstallationContents& contents);

}  // namespace qlx
