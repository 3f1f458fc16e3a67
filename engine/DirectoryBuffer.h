#pragma once

#include <string>

#include "engine/InstallationContents.h"
#include "platform/Platform.h"

namespace qlx {

// The 256-byte buffer every directory query writes into. `valid` tells whether
// the last query filled it with a whole, terminated path; a path is built on
// it only then, since an unfilled buffer would name the root of the drive.
struct DirectoryBuffer {
  static constexpr Dword kSize = 256;
  char bytes[kSize] = {};
  bool valid = false;

  std::string path(const std::string& name) const { return std::string(bytes) + "\\" + name; }
};

bool querySystemDirectory(Kernel& kernel, DirectoryBuffer& directory);
bool queryWindowsDirectory(Kernel& kernel, DirectoryBuffer& directory);
bool queryPrinterDriverDirectory(Spooler& spooler, DirectoryBuffer& directory);
bool queryPrintProcessorDirectory(Spooler& spooler, DirectoryBuffer& directory);

// The uninstaller's own folder under the Windows directory the buffer holds.
std::string uninstallerFolder(const DirectoryBuffer& windows);
// The directory an installation places the files of `place` in, asked of
// Windows: the system, print-processor or printer-driver directory, or the
// uninstaller's folder.
bool queryDirectory(Platform& platform, Place place, DirectoryBuffer& directory);

}  // namespace qlx
