#include "engine/DirectoryBuffer.h"

#include <cstring>

#include "engine/DeleteAtRestart.h"
#include "engine/InstallLog.h"

namespace qlx {
namespace {

// A query counts only when it reported success and left a terminated path
// inside the buffer; anything else leaves the buffer unusable.
bool settle(DirectoryBuffer& directory, bool succeeded) {
  directory.valid = succeeded && directory.bytes[0] != '\0' &&
                    std::memchr(directory.bytes, '\0', DirectoryBuffer::kSize) != nullptr;
  return directory.valid;
}

// GetSystemDirectoryA and GetWindowsDirectoryA return the length on success,
// the size needed when the buffer is too small and 0 on failure.
bool settleLength(DirectoryBuffer& directory, Dword length) {
  return settle(directory, length != 0 && length < DirectoryBuffer::kSize);
}

std::uint8_t* bytesOf(DirectoryBuffer& directory) {
  return reinterpret_cast<std::uint8_t*>(directory.bytes);
}

}  // namespace

bool querySystemDirectory(Kernel& kernel, DirectoryBuffer& directory) {
  return settleLength(directory,
                      kernel.getSystemDirectory(directory.bytes, DirectoryBuffer::kSize));
}

bool queryWindowsDirectory(Kernel& kernel, DirectoryBuffer& directory) {
  return settleLength(directory,
                      kernel.getWindowsDirectory(directory.bytes, DirectoryBuffer::kSize));
}

bool queryPrinterDriverDirectory(Spooler& spooler, DirectoryBuffer& directory) {
  Dword needed = 0;
  return settle(directory,
                spooler.getPrinterDriverDirectory(nullptr, nullptr, 1, bytesOf(directory),
                                                  DirectoryBuffer::kSize, &needed));
}

bool queryPrintProcessorDirectory(Spooler& spooler, DirectoryBuffer& directory) {
  Dword needed = 0;
  return settle(directory,
                spooler.getPrintProcessorDirectory(nullptr, nullptr, 1, bytesOf(directory),
                                                   DirectoryBuffer::kSize, &needed));
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

CopyResult copyLogged(Kernel& kernel, InstallLog* log, const std::string& source,
                      const std::string& target, bool failIfExists, const std::string& reason) {
  if (!failIfExists) makeWritable(kernel, target);
  CopyResult result;
  result.source = source;
  result.target = target;
  bool copied = kernel.copyFile(source.c_str(), target.c_str(), failIfExists);
  result.error = copied ? kErrorSuccess : kernel.getLastError();
  // A library the spooler still holds from before a removal: on Windows NT
  // it is moved aside until the next start and the copy made again.
  if (!copied && !failIfExists && isInUse(result.error) && moveAsideUntilRestart(kernel, target)) {
    if (log != nullptr)
      log->write(join({"Move ", target, " aside: in use until Windows starts again"}));
    copied = kernel.copyFile(source.c_str(), target.c_str(), false);
    result.error = copied ? kErrorSuccess : kernel.getLastError();
  }
  if (copied) {
    result.outcome = CopyResult::Copied;
    makeWritable(kernel, target);
  } else if (failIfExists && result.error == kErrorFileExists) {
    result.outcome = CopyResult::Kept;
  }
  if (log == nullptr) return result;
  const std::string what = join({"Copy ", source, " -> ", target});
  const std::string why = reason.empty() ? std::string() : join({" (", reason, ")"});
  switch (result.outcome) {
    case CopyResult::Copied:
      log->write(join({what, ": copied", why}));
      break;
    case CopyResult::Kept:
      log->write(join({what, ": kept the installed file", why}));
      break;
    case CopyResult::Failed:
      log->writeFailure(join({what, why}), result.error);
      break;
  }
  return result;
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

CopyResult FileStaging::copy(const DirectoryBuffer& directory, const std::string& name,
                             bool failIfExists, const std::string& reason) {
  const std::string source = sourceFolder_ + name;
  if (!directory.valid) {
    if (log_ != nullptr) log_->write(join({"Copy ", source, ": skipped, no target directory"}));
    return CopyResult{CopyResult::Failed, kErrorPathNotFound, source, name};
  }
  return copyLogged(kernel_, log_, source, directory.path(name), failIfExists, reason);
}

void FileStaging::remove(const DirectoryBuffer& directory, const std::string& name) {
  if (!directory.valid) return;
  deleteLogged(kernel_, log_, directory.path(name));
}

}  // namespace qlx
