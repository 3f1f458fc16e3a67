#include <algorithm>
#include <cstring>

#include "engine/InstallLog.h"
#include "engine/PrinterInstaller.h"

namespace qlx {
namespace {

// The whole 64-bit last-write time of a file, or nothing when the file cannot
// be opened for reading beside other readers.
bool readLastWriteTime(Kernel& kernel, const char* path, std::uint64_t& time) {
  const Handle file =
      kernel.createFile(path, kGenericRead, kFileShareRead, kOpenExisting, kFileAttributeNormal);
  if (file == kInvalidHandleValue || file == 0) return false;
  FileTime creation{}, lastAccess{}, lastWrite{};
  const bool read = kernel.getFileTime(file, &creation, &lastAccess, &lastWrite);
  kernel.closeHandle(file);
  if (!read) return false;
  time = (static_cast<std::uint64_t>(lastWrite.dwHighDateTime) << 32) | lastWrite.dwLowDateTime;
  return true;
}

}  // namespace

Dword PrinterInstaller::getFileVersion(const char* path, Dword* parts, int slotCount) {
  Kernel& kernel = platform_.kernel;
  FileVersion& versions = platform_.fileVersion;

  Dword unused = 0;
  const Dword size = versions.getFileVersionInfoSize(path, &unused);
  if (size == 0) return 0;

  const HGlobal memory = kernel.globalAlloc(kGmemMoveableZeroInit, size);
  if (memory == 0) return 0;
  void* block = kernel.globalLock(memory);
  if (block == nullptr) {
    kernel.globalFree(memory);
    return 0;
  }

  bool found = false;
  Dword mostSignificant = 0;
  Dword leastSignificant = 0;
  if (versions.getFileVersionInfo(path, 0, size, block)) {
    void* value = nullptr;
    unsigned length = 0;
    if (versions.verQueryValue(block, "\\", &value, &length) && value != nullptr &&
        length >= sizeof(VsFixedFileInfo)) {
      VsFixedFileInfo fixed;
      std::memcpy(&fixed, value, sizeof fixed);
      mostSignificant = fixed.dwFileVersionMS;
      leastSignificant = fixed.dwFileVersionLS;
      found = true;
    }
  }

  const HGlobal handle = kernel.globalHandle(block);
  const HGlobal owner = handle != 0 ? handle : memory;
  kernel.globalUnlock(owner);
  kernel.globalFree(owner);

  if (!found) return 0;
  if (parts != nullptr && slotCount > 0) {
    const Dword slots[4] = {mostSignificant >> 16, mostSignificant & 0xFFFF, leastSignificant >> 16,
                            leastSignificant & 0xFFFF};
    std::copy_n(slots, std::min(slotCount, 4), parts);
  }
  return mostSignificant;
}

// Only major.minor take part; build and revision never make a file newer.
int PrinterInstaller::isNewerByVersion(const char* installedPath, const char* sourcePath) {
  const Dword installed = getFileVersion(installedPath, nullptr, 0);
  const Dword source = getFileVersion(sourcePath, nullptr, 0);
  const auto version = [](Dword mostSignificant) {
    return join(
        {std::to_string(mostSignificant >> 16), ".", std::to_string(mostSignificant & 0xFFFF)});
  };
  lastComparison_ = join({"installed ", version(installed), ", package ", version(source),
                          installed < source ? ", package newer" : ", package not newer"});
  return installed < source ? 1 : 0;
}

int PrinterInstaller::isNewerByDate(const char* installedPath, const char* sourcePath) {
  Kernel& kernel = platform_.kernel;
  std::uint64_t installed = 0;
  if (!readLastWriteTime(kernel, installedPath, installed)) {
    lastComparison_ = "the installed file's time cannot be read";
    return 0;
  }
  std::uint64_t source = 0;
  if (!readLastWriteTime(kernel, sourcePath, source)) {
    lastComparison_ = "the package file's time cannot be read";
    return 0;
  }
  lastComparison_ =
      join({"installed ", formatFileTime(installed), ", package ", formatFileTime(source),
            source > installed ? ", package newer" : ", package not newer"});
  return source > installed ? 1 : 0;
}

}  // namespace qlx
