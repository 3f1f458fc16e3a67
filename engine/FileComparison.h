#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/UpdatePlan.h"
#include "platform/Platform.h"

namespace qlx {

// Both words of a file's fixed version (dwFileVersionMS in the high half),
// or nothing when it has no readable version record.
std::optional<std::uint64_t> readFileVersion(Platform& platform, const char* path);
// The version's high word (major.minor), 0 without one; `parts` gets up to
// `slotCount` of its four numbers.
Dword getFileVersion(Platform& platform, const char* path, Dword* parts, int slotCount);
// The version and last-write time of a regular file, or "missing".
FileStamp fileStamp(Platform& platform, const std::string& path);

// The comparisons behind the overwrite policy: whether the package's copy
// is newer, and why, for the log.
struct Comparison {
  bool newer = false;
  std::string description;
};
// Only major.minor take part; build and revision never make a file newer.
Comparison compareByVersion(Platform& platform, const char* installedPath, const char* sourcePath);
// A time that cannot be read never makes a file newer.
Comparison compareByDate(Platform& platform, const char* installedPath, const char* sourcePath);
inline int isNewerByVersion(Platform& platform, const char* installedPath, const char* sourcePath) {
  return compareByVersion(platform, installedPath, sourcePath).newer ? 1 : 0;
}
inline int isNewerByDate(Platform& platform, const char* installedPath, const char* sourcePath) {
  return compareByDate(platform, installedPath, sourcePath).newer ? 1 : 0;
}

}  // namespace qlx
