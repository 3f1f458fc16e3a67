#include "engine/DirectoryBuffer.h"

#include <cstring>

#include "engine/UninstallEntry.h"

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

std::string uninstallerFolder(const DirectoryBuffer& windows) {
  return std::string(windows.bytes) + uninstall::kFolder;
}

bool queryDirectory(Platform& platform, Place place, DirectoryBuffer& directory) {
  switch (place) {
    case Place::SystemDirectory:
      return querySystemDirectory(platform.kernel, directory);
    case Place::PrintProcessorDirectory:
      return queryPrintProcessorDirectory(platform.spooler, directory);
    case Place::PrinterDriverDirectory:
      return queryPrinterDriverDirectory(platform.spooler, directory);
    case Place::UninstallerFolder: {
      if (!queryWindowsDirectory(platform.kernel, directory)) return false;
      const std::string folder = uninstallerFolder(directory);
      directory.valid = folder.size() < DirectoryBuffer::kSize;
      if (directory.valid) std::memcpy(directory.bytes, folder.c_str(), folder.size() + 1);
      return directory.valid;
    }
  }
  return false;
}

}  // namespace qlx
