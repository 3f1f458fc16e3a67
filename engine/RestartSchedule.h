#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Kernel.h"
#include "platform/Registry.h"

namespace qlx {

class InstallLog;

// What Windows is to do with this program's files when it next starts: a
// library the spooler holds can go, or be replaced, only then. Windows NT
// keeps the list in the Session Manager's PendingFileRenameOperations
// (MoveFileExA writes it); Windows 9x carries out the [rename] section of
// WININIT.INI in its own directory before it starts, where "NUL=path"
// deletes and "target=source" puts source in target's place, by short names.
// One schedule serves one procedure; it reads the list once.
class RestartSchedule {
 public:
  RestartSchedule(Kernel& kernel, Registry& registry, bool windows9x, InstallLog* log = nullptr)
      : kernel_(kernel), registry_(registry), windows9x_(windows9x), log_(log) {}

  bool windows9x() const { return windows9x_; }

  // True when scheduled; otherwise `error` says why.
  bool deleteAtRestart(const std::string& path, Dword& error);
  // Windows 9x only: `source` (a file beside it) takes `target`'s place.
  bool replaceAtRestart(const std::string& target, const std::string& source, Dword& error);
  // Windows NT only: `source` takes the name `target` at the start, unless a
  // file has it by then; and that no longer.
  bool renameAtRestart(const std::string& source, const std::string& target, Dword& error);
  void withdrawRename(const std::string& source);
  // The file at `path` has just been placed again: a deletion an earlier run
  // scheduled for it must not take it away at the start.
  void withdrawDeletion(const std::string& path);
  // Windows 9x is to put the file at `path` in another's place at its start.
  bool waitsForRestart(const std::string& path);
  // The file at `path` goes at the next start already.
  bool deletionScheduled(const std::string& path);

 private:
  using Pairs = std::vector<std::pair<std::string, std::string>>;

  // 9x: the [rename] lines; NT: the pending operations as (source, target).
  std::vector<std::string>& wininitLines();
  // "target=source" by short names; an empty target means delete (NUL).
  bool addWininitLine(const std::string& target, const std::string& source, Dword& error);
  Pairs& pendingOperations();

  Kernel& kernel_;
  Registry& registry_;
  bool windows9x_;
  InstallLog* log_;
  std::optional<std::vector<std::string>> wininit_;
  std::optional<Pairs> pending_;
};

}  // namespace qlx
