// Whether a package file is newer than the installed copy: the overwrite
// policy's comparisons (major and minor version, or the last-write time),
// and the update's (all four numbers, else the last-write time).

#include "engine/FileComparison.h"

#include <algorithm>
#include <cstring>

#include "engine/FilePlacement.h"
#include "engine/InstallLog.h"

namespace qlx {
namespace {

// The whole 64-bit last-write time of a file, or nothing when the file cannot
// be opened for reading beside other readers.
std::optional<std::uint64_t> readLastWriteTime(Kernel& kernel, const char* path) {
  const Handle file =
      kernel.createFile(path, kGenericRead, kFileShareRead, kOpenExisting, kFileAttributeNormal);
  if (file == kInvalidHandleValue || file == 0) return std::nullopt;
  FileTime creation{}, lastAccess{}, lastWrite{};
  const bool read = kernel.getFileTime(file, &creation, &lastAccess, &lastWrite);
  kernel.closeHandle(file);
  if (!read) return std::nullopt;
  return (static_cast<std::uint64_t>(lastWrite.dwHighDateTime) << 32) | lastWrite.dwLowDateTime;
}

std::string versionText(std::uint64_t version) {
  return join({std::to_string(version >> 48), ".", std::to_string((version >> 32) & 0xFFFF), ".",
               std::to_string((version >> 16) & 0xFFFF), ".", std::to_string(version & 0xFFFF)});
}

}  // namespace

std::string FileStamp::text() const {
  if (!present) return "missing";
  if (version) return versionText(*version);
  if (lastWrite) return formatFileTime(*lastWrite);
  return "unreadable";
}

bool packageIsNewer(const FileStamp& installed, const FileStamp& package) {
  if (!package.present || !installed.present) return false;
  if (installed.version && package.version) return *package.version > *installed.version;
  if (installed.version || package.version) return package.version.has_value();
  return installed.lastWrite && package.lastWrite && *package.lastWrite > *installed.lastWrite;
}

const ComparedFile* UpdatePlan::find(const std::string& name, Place place) const {
  for (const ComparedFile& compared : files) {
    if (compared.file.name == name && compared.file.place == place) return &compared;
  }
  return nullptr;
}

// Both words of the fixed version, read the way the version resource is
// read everywhere: a movable block, locked, released on every path.
std::optional<std::uint64_t> readFileVersion(Platform& platform, const char* path) {
  Kernel& kernel = platform.kernel;
  FileVersion& versions = platform.fileVersion;

  Dword unused = 0;
  const Dword size = versions.getFileVersionInfoSize(path, &unused);
  if (size == 0) return std::nullopt;

  const HGlobal memory = kernel.globalAlloc(kGmemMoveableZeroInit, size);
  if (memory == 0) return std::nullopt;
  void* block = kernel.globalLock(memory);
  if (block == nullptr) {
    kernel.globalFree(memory);
    return std::nullopt;
  }

  std::optional<std::uint64_t> version;
  if (versions.getFileVersionInfo(path, 0, size, block)) {
    void* value = nullptr;
    unsigned length = 0;
    if (versions.verQueryValue(block, "\\", &value, &length) && value != nullptr &&
        length >= sizeof(VsFixedFileInfo)) {
      VsFixedFileInfo fixed;
      std::memcpy(&fixed, value, sizeof fixed);
      version = (static_cast<std::uint64_t>(fixed.dwFileVersionMS) << 32) | fixed.dwFileVersionLS;
    }
  }

  const HGlobal handle = kernel.globalHandle(block);
  const HGlobal owner = handle != 0 ? handle : memory;
  kernel.globalUnlock(owner);
  kernel.globalFree(owner);
  return version;
}

Dword getFileVersion(Platform& platform, const char* path, Dword* parts, int slotCount) {
  const std::optional<std::uint64_t> version = readFileVersion(platform, path);
  if (!version) return 0;
  if (parts != nullptr && slotCount > 0) {
    const Dword slots[4] = {
        static_cast<Dword>(*version >> 48), static_cast<Dword>((*version >> 32) & 0xFFFF),
        static_cast<Dword>((*version >> 16) & 0xFFFF), static_cast<Dword>(*version & 0xFFFF)};
    std::copy_n(slots, std::min(slotCount, 4), parts);
  }
  return static_cast<Dword>(*version >> 32);
}

FileStamp fileStamp(Platform& platform, const std::string& path) {
  FileStamp stamp;
  stamp.present = isFile(platform.kernel, path);
  if (!stamp.present) return stamp;
  stamp.version = readFileVersion(platform, path.c_str());
  stamp.lastWrite = readLastWriteTime(platform.kernel, path.c_str());
  return stamp;
}

Comparison compareByVersion(Platform& platform, const char* installedPath, const char* sourcePath) {
  const Dword installed = getFileVersion(platform, installedPath, nullptr, 0);
  const Dword source = getFileVersion(platform, sourcePath, nullptr, 0);
  const auto version = [](Dword mostSignificant) {
    return join(
        {std::to_string(mostSignificant >> 16), ".", std::to_string(mostSignificant & 0xFFFF)});
  };
  return {installed < source,
          join({"installed ", version(installed), ", package ", version(source),
                installed < source ? ", package newer" : ", package not newer"})};
}

Comparison compareByDate(Platform& platform, const char* installedPath, const char* sourcePath) {
  Kernel& kernel = platform.kernel;
  const std::optional<std::uint64_t> installed = readLastWriteTime(kernel, installedPath);
  if (!installed) return {false, "the installed file's time cannot be read"};
  const std::optional<std::uint64_t> source = readLastWriteTime(kernel, sourcePath);
  if (!source) return {false, "the package file's time cannot be read"};
  const bool newer = *source > *installed;
  return {newer,
          join({"installed ", formatFileTime(*installed), ", package ", formatFileTime(*source),
                newer ? ", package newer" : ", package not newer"})};
}

}  // namespace qlx
