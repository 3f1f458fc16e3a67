#include "engine/FilePlacement.h"

#include "engine/InstallLog.h"
#include "engine/RestartSchedule.h"

namespace qlx {
namespace {

// Earlier removals may have left copies aside that wait for the start.
constexpr int kAsideNames = 9;

std::string asideName(const std::string& path, int attempt) {
  return path + kAsideSuffix + (attempt == 1 ? "" : std::to_string(attempt));
}

// The copy's data on the disk before it takes the name: after a power cut
// (FAT volumes above all) the name must never stand over data that was not
// written, which no later run could tell from a whole file. 0, or why not.
Dword flushCopy(Kernel& kernel, const std::string& copy) {
  const Handle file =
      kernel.createFile(copy.c_str(), kGenericWrite, 0, kOpenExisting, kFileAttributeNormal);
  if (file == kInvalidHandleValue || file == 0) return kernel.getLastError();
  const bool flushed = kernel.flushFileBuffers(file);
  const Dword error = flushed ? kErrorSuccess : kernel.getLastError();
  kernel.closeHandle(file);
  return flushed ? kErrorSuccess : error;
}

// Windows NT's rename is written through, so that the name is durable too.
constexpr Dword kReplace = kMoveFileReplaceExisting | kMoveFileWriteThrough;

// The first name beside `path` that no earlier copy kept aside has.
std::string freeAsideName(Kernel& kernel, const std::string& path) {
  for (int attempt = 1; attempt <= kAsideNames; ++attempt) {
    const std::string aside = asideName(path, attempt);
    if (kernel.getFileAttributes(aside.c_str()) == kInvalidFileAttributes) return aside;
  }
  return {};
}

Placement failed(Placement placement, Dword error) {
  placement.outcome = Placement::Failed;
  placement.error = error;
  return placement;
}

void logPlacement(InstallLog* log, const Placement& placement, const std::string& reason) {
  if (log == nullptr) return;
  const std::string what = join({"Copy ", placement.source, " -> ", placement.target});
  const std::string why = reason.empty() ? std::string() : join({" (", reason, ")"});
  switch (placement.outcome) {
    case Placement::Placed:
      log->write(join({what, ": copied", why}));
      break;
    case Placement::Kept:
      log->write(join({what, ": kept the installed file", why}));
      break;
    case Placement::AtRestart:
      log->write(join({what, ": in use, replaced when Windows starts again", why}));
      break;
    case Placement::Failed:
      log->writeFailure(join({what, why}), placement.error);
      break;
  }
}

// The new copy takes the name. Windows NT replaces in one step, and moves a
// held older copy aside to do it; Windows 9x renames the older copy aside
// and deletes it once the new one is in place.
Placement putInPlace(Kernel& kernel, RestartSchedule& schedule, InstallLog* log,
                     Placement placement, const std::string& copy) {
  const std::string& target = placement.target;
  makeWritable(kernel, target);
  if (!schedule.windows9x()) {
    if (kernel.moveFileEx(copy.c_str(), target.c_str(), kReplace)) {
      placement.outcome = Placement::Placed;
      return placement;
    }
    const Dword error = kernel.getLastError();
    if (!isInUse(error)) return failed(placement, error);
    // Held by the spooler: the older copy moves aside to free the name. Should
    // the power go before the new copy has it, Windows puts the older copy
    // back when it starts: no moment leaves the name without a library.
    const std::string aside = freeAsideName(kernel, target);
    if (aside.empty()) return failed(placement, error);
    Dword netError = kErrorSuccess;
    if (!schedule.renameAtRestart(aside, target, netError)) return failed(placement, netError);
    if (!kernel.moveFileEx(target.c_str(), aside.c_str(), 0)) {
      const Dword asideError = kernel.getLastError();
      schedule.withdrawRename(aside);
      return failed(placement, asideError);
    }
    if (kernel.moveFileEx(copy.c_str(), target.c_str(), kReplace)) {
      placement.outcome = Placement::Placed;
      placement.heldCopyReplaced = true;
      // Only now, with the new copy under the name, does the older one go.
      schedule.withdrawRename(aside);
      Dword scheduleError = kErrorSuccess;
      const bool scheduled = schedule.deleteAtRestart(aside, scheduleError);
      if (log == nullptr) return placement;
      if (scheduled) {
        log->write(join({"Move ", target, " aside: in use until Windows starts again"}));
      } else {
        log->writeFailure(join({"Move ", target, " aside to ", aside,
                                ", which stays: its deletion at the next start"}),
                          scheduleError);
      }
      return placement;
    }
    const Dword placeError = kernel.getLastError();
    // The working older copy returns under its name; nothing stays scheduled.
    if (kernel.moveFileEx(aside.c_str(), target.c_str(), 0)) {
      schedule.withdrawRename(aside);
    } else if (log != nullptr) {
      log->writeFailure(join({"Put ", aside, " back as ", target}), kernel.getLastError());
    }
    return failed(placement, placeError);
  }

  if (!isFile(kernel, target)) {
    if (kernel.moveFile(copy.c_str(), target.c_str())) {
      placement.outcome = Placement::Placed;
      return placement;
    }
    return failed(placement, kernel.getLastError());
  }
  const std::string aside = asideName(target, 1);
  deleteLogged(kernel, nullptr, aside);
  if (!kernel.moveFile(target.c_str(), aside.c_str())) {
    const Dword error = kernel.getLastError();
    if (!isInUse(error)) return failed(placement, error);
    Dword scheduleError = kErrorSuccess;
    if (!schedule.replaceAtRestart(target, copy, scheduleError)) {
      return failed(placement, scheduleError);
    }
    placement.outcome = Placement::AtRestart;
    return placement;
  }
  if (!kernel.moveFile(copy.c_str(), target.c_str())) {
    const Dword error = kernel.getLastError();
    if (!kernel.moveFile(aside.c_str(), target.c_str()) && log != nullptr) {
      log->writeFailure(join({"Put ", aside, " back as ", target}), kernel.getLastError());
    }
    return failed(placement, error);
  }
  // Held after all (Wine lets a loaded library be renamed): it goes at the start.
  Dword error = kErrorSuccess;
  if (deleteLogged(kernel, nullptr, aside, &error) == DeleteOutcome::Failed) {
    Dword scheduleError = kErrorSuccess;
    if (schedule.deleteAtRestart(aside, scheduleError)) {
      placement.heldCopyReplaced = true;
    } else if (log != nullptr) {
      log->writeFailure(join({"Delete ", aside, " (left behind)"}), error);
    }
  }
  placement.outcome = Placement::Placed;
  return placement;
}

}  // namespace

bool isFile(Kernel& kernel, const std::string& path, Dword* error) {
  const Dword attributes = kernel.getFileAttributes(path.c_str());
  if (attributes == kInvalidFileAttributes) {
    if (error != nullptr) *error = kernel.getLastError();
    return false;
  }
  return (attributes & kFileAttributeDirectory) == 0;
}

void makeWritable(Kernel& kernel, const std::string& path) {
  const Dword attributes = kernel.getFileAttributes(path.c_str());
  if (attributes == kInvalidFileAttributes || (attributes & kFileAttributeDirectory) != 0 ||
      (attributes & kFileAttributeReadOnly) == 0) {
    return;
  }
  const Dword writable = attributes & ~kFileAttributeReadOnly;
  kernel.setFileAttributes(path.c_str(), writable == 0 ? kFileAttributeNormal : writable);
}

Placement placeFile(Kernel& kernel, RestartSchedule& schedule, InstallLog* log,
                    const std::string& source, const std::string& target, bool keepExisting,
                    const std::string& reason) {
  Placement placement;
  placement.source = source;
  placement.target = target;
  if (keepExisting && isFile(kernel, target)) {
    placement.outcome = Placement::Kept;
    logPlacement(log, placement, reason);
    return placement;
  }
  const std::string copy = target + kNewCopySuffix;
  makeWritable(kernel, copy);  // one an interrupted run left from a CD
  if (kernel.copyFile(source.c_str(), copy.c_str(), false)) {
    // Files copied from read-only media keep the attribute, which would
    // block the next update and the uninstaller.
    makeWritable(kernel, copy);
    if (const Dword error = flushCopy(kernel, copy); error != kErrorSuccess) {
      placement = failed(placement, error);  // the older copy stays
    } else {
      placement = putInPlace(kernel, schedule, log, placement, copy);
    }
    if (placement.outcome == Placement::Placed) schedule.withdrawDeletion(target);
  } else {
    placement = failed(placement, kernel.getLastError());
  }
  if (placement.failed()) deleteLogged(kernel, nullptr, copy);
  logPlacement(log, placement, reason);
  return placement;
}

void clearLeftovers(Kernel& kernel, RestartSchedule& schedule, InstallLog* log,
                    const std::string& target) {
  const std::string copy = target + kNewCopySuffix;
  if (isFile(kernel, copy) && !schedule.waitsForRestart(copy)) {
    if (log != nullptr) log->write(join({copy, ": left by an interrupted run"}));
    deleteLogged(kernel, log, copy);
  }
  const std::string aside = asideName(target, 1);
  if (!isFile(kernel, aside)) return;
  // A run cut short between moving the older copy aside and the new one
  // taking its name: the older copy, which works, takes it back.
  if (!isFile(kernel, target)) {
    if (kernel.moveFile(aside.c_str(), target.c_str())) {
      if (log != nullptr) {
        log->write(join({aside, ": put back as ", target, ", left by an interrupted run"}));
      }
      schedule.withdrawDeletion(aside);
    } else if (log != nullptr) {
      log->writeFailure(join({"Put ", aside, " back as ", target}), kernel.getLastError());
    }
    return;
  }
  // Held, it goes at the start that frees it; otherwise it is garbage now.
  makeWritable(kernel, aside);
  if (kernel.deleteFile(aside.c_str())) {
    if (log != nullptr) log->write(join({"Delete ", aside, ": deleted, left by an earlier run"}));
    return;
  }
  Dword error = kErrorSuccess;
  if (!schedule.deletionScheduled(aside) && !schedule.deleteAtRestart(aside, error) &&
      log != nullptr) {
    log->writeFailure(join({"Delete ", aside, " at the next start"}), error);
  }
}

std::string moveAside(Kernel& kernel, const std::string& path, Dword& error) {
  for (int attempt = 1; attempt <= kAsideNames; ++attempt) {
    const std::string aside = asideName(path, attempt);
    if (kernel.moveFileEx(path.c_str(), aside.c_str(), 0)) return aside;
    error = kernel.getLastError();
    if (error != kErrorAlreadyExists && error != kErrorFileExists) return {};
  }
  return {};
}

DeleteOutcome deleteLogged(Kernel& kernel, InstallLog* log, const std::string& path, Dword* error) {
  makeWritable(kernel, path);
  const bool deleted = kernel.deleteFile(path.c_str());
  const Dword code = deleted ? kErrorSuccess : kernel.getLastError();
  if (error != nullptr) *error = code;
  const DeleteOutcome outcome = deleted ? DeleteOutcome::Deleted
                                : code == kErrorFileNotFound || code == kErrorPathNotFound
                                    ? DeleteOutcome::NotThere
                                    : DeleteOutcome::Failed;
  if (log == nullptr) return outcome;
  const std::string what = join({"Delete ", path});
  switch (outcome) {
    case DeleteOutcome::Deleted:
      log->write(join({what, ": deleted"}));
      break;
    case DeleteOutcome::NotThere:
      log->write(join({what, ": not there"}));
      break;
    case DeleteOutcome::Failed:
      log->writeFailure(what, code);
      break;
  }
  return outcome;
}

}  // namespace qlx
