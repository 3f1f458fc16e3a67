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

// What became of one copy: made, an existing target kept (only when asked
// for), or failed with `error`, also when there was no target directory.
struct CopyResult {
  enum Outcome { Copied, Kept, Failed } outcome = Failed;
  Dword error = kErrorSuccess;
  std::string source, target;
  bool failed() const { return outcome == Failed; }
};

// Copies and deletions of package files between a source folder (relative to
// the current directory) and a queried directory, logged. Files copied from
// read-only media (a driver CD) keep their read-only attribute, which would
// block the next update and the uninstaller: every copy is made writable
// right after it is made, and a read-only file is made writable before it
// is overwritten or deleted.
class FileStaging {
 public:
  FileStaging(Kernel& kernel, std::string sourceFolder, InstallLog* log = nullptr)
      : kernel_(kernel), sourceFolder_(std::move(sourceFolder)), log_(log) {}

  // With `failIfExists`, an existing target is kept; `reason` tells the log why.
  CopyResult copy(const DirectoryBuffer& directory, const std::string& name,
                  bool failIfExists = false, const std::string& reason = {});
  void remove(const DirectoryBuffer& directory, const std::string& name);

 private:
  Kernel& kernel_;
  std::string sourceFolder_;
  InstallLog* log_;
};

// One copy and its result in the log: copied, kept (an existing target that
// `failIfExists` protects) or failed with its code.
CopyResult copyLogged(Kernel& kernel, InstallLog* log, const std::string& source,
                      const std::string& target, bool failIfExists, const std::string& reason = {});

// One deletion and its result in the log; a file that is not there counts
// as deleted.
enum class DeleteOutcome { Deleted, NotThere, Failed };
DeleteOutcome deleteLogged(Kernel& kernel, InstallLog* log, const std::string& path,
                           Dword* error = nullptr);

// Clears the read-only attribute of the file at `path`, if it has one.
void makeWritable(Kernel& kernel, const std::string& path);

}  // namespace qlx
