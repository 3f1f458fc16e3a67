#include "engine/DirectoryBuffer.h"

#include <cstring>

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

}  // namespace qlx
