#pragma once

#include <string>

#include "platform/Kernel.h"

namespace qlx {

class InstallLog;
class RestartSchedule;

// Beside a file's own name: the new copy being written, and the older copy
// kept aside until the new one is in place (on Windows NT until the next
// start, when the system holds it).
inline constexpr char kNewCopySuffix[] = ".qlx-new";
inline constexpr char kAsideSuffix[] = ".old";

// What became of one file placed. Placed: it is in place. Kept: an existing
// file was kept, as asked. AtRestart (Windows 9x): the system holds the
// older copy, which Windows replaces when it next starts. Failed: not
// placed, with `error`; an older copy is still in place.
struct Placement {
  enum Outcome { Placed, Kept, AtRestart, Failed } outcome = Failed;
  Dword error = kErrorSuccess;
  std::string source, target;
  // The older copy was held by the system: it goes at the next start.
  bool heldCopyReplaced = false;
  bool failed() const { return outcome == Failed; }
  bool needsRestart() const { return outcome == AtRestart || heldCopyReplaced; }
};

// Puts a copy of `source` at `target` so that no moment leaves a partial
// file under the target's name: the copy is written beside it first, then
// takes the name (replacing the older copy in one step on Windows NT; on
// Windows 9x the older one is renamed aside, and back should the new one
// not take its place). A library the system holds is moved aside on Windows
// NT and deleted at the next start; on Windows 9x it is replaced at the next
// start. Files from read-only media are placed writable, and a read-only
// older copy is replaced all the same. With `keepExisting` an existing file
// stays. Logged, with `reason` saying why where it matters.
Placement placeFile(Kernel& kernel, RestartSchedule& schedule, InstallLog* log,
                    const std::string& source, const std::string& target, bool keepExisting = false,
                    const std::string& reason = {});

// What an interrupted placement of `target` left beside it: the new copy
// goes (unless Windows 9x is to put it in place at its start), and an older
// copy kept aside goes too, or on Windows 9x, where `target` is missing,
// takes its name back.
void clearLeftovers(Kernel& kernel, RestartSchedule& schedule, InstallLog* log,
                    const std::string& target);

// Frees the name of a file Windows NT holds: the file is renamed aside in
// its folder. The path it was moved to, or empty (with `error`).
std::string moveAside(Kernel& kernel, const std::string& path, Dword& error);

// One deletion and its result in the log; a file that is not there counts
// as deleted.
enum class DeleteOutcome { Deleted, NotThere, Failed };
DeleteOutcome deleteLogged(Kernel& kernel, InstallLog* log, const std::string& path,
                           Dword* error = nullptr);

// The codes with which Windows refuses to replace or delete a file it holds
// open: a library in use.
inline bool isInUse(Dword error) {
  return error == kErrorAccessDenied || error == kErrorSharingViolation ||
         error == kErrorUserMappedFile;
}

// Clears the read-only attribute of the file at `path`, if it has one.
void makeWritable(Kernel& kernel, const std::string& path);
// A regular file, not a folder; `error` gets why it cannot be asked about.
bool isFile(Kernel& kernel, const std::string& path, Dword* error = nullptr);

}  // namespace qlx
