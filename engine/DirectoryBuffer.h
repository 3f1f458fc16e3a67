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

// Copies and deletions of package files between a source folder (relative to
// the current directory) and a queried directory. Results are not examined;
// nothing happens when the directory query failed.
class FileStaging {
 public:
  FileStaging(Kernel& kernel, std::string sourceFolder)
      : kernel_(kernel), sourceFolder_(std::move(sourceFolder)) {}

  void copy(const DirectoryBuffer& directory, const std::string& name, bool failIfExists = false);
  void remove(const DirectoryBuffer& directory, const std::string& name);

 private:
  Kernel& kernel_;
  std::string sourceFolder_;
};

}  // namespace qlx
