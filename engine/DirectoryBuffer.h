#pragma once

#include <string>

#include "platform/Kernel.h"
#include "platform/Spooler.h"

namespace qlx {

class InstallLog;

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
// the current directory) and a queried directory. Results go only to the log;
// nothing happens when the directory query failed.
class FileStaging {
 public:
  FileStaging(Kernel& kernel, std::string sourceFolder, InstallLog* log = nullptr)
      : kernel_(kernel), sourceFolder_(std::move(sourceFolder)), log_(log) {}

  // With `failIfExists`, an existing target is kept; `reason` tells the log why.
  void copy(const DirectoryBuffer& directory, const std::string& name, bool failIfExists = false,
            const std::string& reason = {});
  void remove(const DirectoryBuffer& directory, const std::string& name);

 private:
  Kernel& kernel_;
  std::string sourceFolder_;
  InstallLog* log_;
};

// One copy and its result in the log: copied, kept (an existing target that
// `failIfExists` protects) or failed with its code.
void copyLogged(Kernel& kernel, InstallLog* log, const std::string& source,
                const std::string& target, bool failIfExists, const std::string& reason = {});

}  // namespace qlx
