#include "engine/DeleteAtRestart.h"

#include <vector>

#include "engine/DirectoryBuffer.h"

namespace qlx {
namespace {

// The most a profile section holds on Windows 9x.
constexpr Dword kSectionSize = 32767;
constexpr Dword kShortPathSize = 260;

bool scheduleInWininit(Kernel& kernel, const std::string& path, Dword& error) {
  DirectoryBuffer windows;
  if (!queryWindowsDirectory(kernel, windows)) {
    error = kernel.getLastError();
    return false;
  }
  const std::string wininit = windows.path("WININIT.INI");
  // WININIT runs before Windows starts, where only short names are known.
  char shortPath[kShortPathSize] = {};
  const Dword length = kernel.getShortPathName(path.c_str(), shortPath, kShortPathSize);
  if (length == 0 || length >= kShortPathSize) {
    error = length == 0 ? kernel.getLastError() : kErrorInsufficientBuffer;
    return false;
  }
  // The section may hold lines of other programs already: they stay.
  std::vector<char> lines(kSectionSize, '\0');
  const Dword used =
      kernel.getPrivateProfileSection("rename", lines.data(), kSectionSize, wininit.c_str());
  const std::string entry = std::string("NUL=") + shortPath;
  if (used >= kSectionSize - 2 || used + entry.size() + 2 > kSectionSize) {
    error = kErrorInsufficientBuffer;
    return false;
  }
  // Whether the count takes the last line's NUL in differs between systems.
  std::string section(lines.data(), used);
  while (!section.empty() && section.back() == '\0') section.pop_back();
  if (!section.empty()) section += '\0';
  section += entry;
  section += '\0';
  section += '\0';
  if (!kernel.writePrivateProfileSection("rename", section.c_str(), wininit.c_str())) {
    error = kernel.getLastError();
    return false;
  }
  return true;
}

}  // namespace

bool moveAsideUntilRestart(Kernel& kernel, const std::string& path) {
  // Earlier removals may have left copies aside that wait for the start.
  for (int attempt = 1; attempt <= 9; ++attempt) {
    const std::string aside = path + ".old" + (attempt == 1 ? "" : std::to_string(attempt));
    if (kernel.moveFileEx(path.c_str(), aside.c_str(), 0)) {
      kernel.moveFileEx(aside.c_str(), nullptr, kMoveFileDelayUntilReboot);
      return true;
    }
    const Dword error = kernel.getLastError();
    if (error != kErrorAlreadyExists && error != kErrorFileExists) return false;
  }
  return false;
}

bool deleteAtRestart(Kernel& kernel, bool windows9x, const std::string& path, Dword& error) {
  error = kErrorSuccess;
  if (windows9x) return scheduleInWininit(kernel, path, error);
  if (moveAsideUntilRestart(kernel, path)) return true;
  if (kernel.moveFileEx(path.c_str(), nullptr, kMoveFileDelayUntilReboot)) return true;
  error = kernel.getLastError();
  return false;
}

}  // namespace qlx
