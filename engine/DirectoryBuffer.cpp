#include "engine/DirectoryBuffer.h"

#include <cstring>

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

void copyLogged(Kernel& kernel, InstallLog* log, const std::string& source,
                const std::string& target, bool failIfExists, const std::string& reason) {
  const bool copied = kernel.copyFile(source.c_str(), target.c_str(), failIfExists);
  if (log == nullptr) return;
  const Dword code = copied ? kErrorSuccess : kernel.getLastError();
  const std::string what = join({"Copy ", source, " -> ", target});
  const std::string why = reason.empty() ? std::string() : join({" (", reason, ")"});
  if (copied) {
    log->write(join({what, ": copied", why}));
  } else if (failIfExists && code == kErrorFileExists) {
    log->write(join({what, ": kept the installed file", why}));
  } else {
    log->writeFailure(join({what, why}), code);
  }
}

void FileStaging::copy(const DirectoryBuffer& directory, const std::string& name, bool failIfExists,
                       const std::string& reason) {
  const std::string source = sourceFolder_ + name;
  if (!directory.valid) {
    if (log_ != nullptr) log_->write(join({"Copy ", source, ": skipped, no target directory"}));
    return;
  }
  copyLogged(kernel_, log_, source, directory.path(name), failIfExists, reason);
}

void FileStaging::remove(const DirectoryBuffer& directory, const std::string& name) {
  if (!directory.valid) return;
  const std::string path = directory.path(name);
  const bool deleted = kernel_.deleteFile(path.c_str());
  if (log_ == nullptr) return;  // without a log the result is not read at all
  const Dword code = deleted ? kErrorSuccess : kernel_.getLastError();
  const std::string what = join({"Delete ", path});
  if (deleted) {
    log_->write(join({what, ": deleted"}));
  } else if (code == kErrorFileNotFound) {
    log_->write(join({what, ": not there"}));
  } else {
    log_->writeFailure(what, code);
  }
}

}  // namespace qlx
