#pragma once

#include <string>

#include "platform/Kernel.h"
#include "platform/Spooler.h"

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

}  // namespace qlx
