#include "engine/RestartSchedule.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "engine/DirectoryBuffer.h"
#include "engine/InstallLog.h"
#include "engine/Names.h"

namespace qlx {
namespace {

constexpr char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr char kPendingRenames[] = "PendingFileRenameOperations";
// The most a profile section holds on Windows 9x.
constexpr Dword kSectionSize = 32767;
constexpr Dword kShortPathSize = 260;

// The Session Manager names files in the object namespace: "\??\C:\x".
std::string_view withoutPrefix(std::string_view name) {
  if (name.starts_with("\\??\\")) name.remove_prefix(4);
  return name;
}

bool isDeletion(const std::string& line) {
  return line.size() > 4 && sameName(std::string_view(line).substr(0, 4), "NUL=");
}

std::string wininitPath(Kernel& kernel) {
  DirectoryBuffer windows;
  return queryWindowsDirectory(kernel, windows) ? windows.path("WININIT.INI") : std::string();
}

bool writeWininit(Kernel& kernel, const std::vector<std::string>& lines, Dword& error) {
  const std::string path = wininitPath(kernel);
  if (path.empty()) {
    error = kernel.getLastError();
    return false;
  }
  std::string section;
  for (const std::string& line : lines) section += line + '\0';
  section += '\0';
  if (section.size() > kSectionSize) {
    error = kErrorInsufficientBuffer;
    return false;
  }
  if (!kernel.writePrivateProfileSection("rename", section.c_str(), path.c_str())) {
    error = kernel.getLastError();
    return false;
  }
  return true;
}

std::string shortPath(Kernel& kernel, const std::string& path) {
  char buffer[kShortPathSize] = {};
  const Dword length = kernel.getShortPathName(path.c_str(), buffer, kShortPathSize);
  return length == 0 || length >= kShortPathSize ? std::string() : std::string(buffer, length);
}

bool writePendingOperations(Registry& registry,
                            const std::vector<std::pair<std::string, std::string>>& pending,
                            Dword& error) {
  std::string bytes;
  for (const auto& [source, target] : pending) bytes += source + '\0' + target + '\0';
  bytes += '\0';
  HKey key = 0;
  Long result = registry.regOpenKeyEx(kHKeyLocalMachine, kSessionManager, 0, kKeyReadWrite, &key);
  if (result == kRegSuccess) {
    result = registry.regSetValueEx(key, kPendingRenames, 0, kRegMultiSz,
                                    reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                    static_cast<Dword>(bytes.size()));
    registry.regCloseKey(key);
  }
  error = static_cast<Dword>(result);
  return result == kRegSuccess;
}

}  // namespace

// The section may hold lines of other programs: they stay as they are.
std::vector<std::string>& RestartSchedule::wininitLines() {
  if (wininit_) return *wininit_;
  wininit_.emplace();
  const std::string path = wininitPath(kernel_);
  if (path.empty()) return *wininit_;
  std::vector<char> buffer(kSectionSize, '\0');
  const Dword used =
      kernel_.getPrivateProfileSection("rename", buffer.data(), kSectionSize, path.c_str());
  const char* end = buffer.data() + std::min<Dword>(used, kSectionSize);
  for (const char* at = buffer.data(); at < end && *at != '\0';) {
    const auto* stop = static_cast<const char*>(std::memchr(at, '\0', end - at));
    const char* lineEnd = stop == nullptr ? end : stop;
    wininit_->emplace_back(at, lineEnd);
    at = lineEnd + 1;
  }
  return *wininit_;
}

RestartSchedule::Pairs& RestartSchedule::pendingOperations() {
  if (pending_) return *pending_;
  pending_.emplace();
  HKey key = 0;
  if (registry_.regOpenKeyEx(kHKeyLocalMachine, kSessionManager, 0, kKeyRead, &key) !=
      kRegSuccess) {
    return *pending_;
  }
  Dword size = 0;
  std::vector<std::uint8_t> bytes;
  if (registry_.regQueryValueEx(key, kPendingRenames, nullptr, nullptr, &size) == kRegSuccess) {
    bytes.assign(size + 2, 0);  // room for the final NULs a careless writer left out
    if (registry_.regQueryValueEx(key, kPendingRenames, nullptr, bytes.data(), &size) !=
        kRegSuccess) {
      bytes.clear();
    }
  }
  registry_.regCloseKey(key);
  // Source and target alternate; an empty target means delete.
  std::vector<std::string> names;
  const auto* text = reinterpret_cast<const char*>(bytes.data());
  for (std::size_t at = 0; at < size && at < bytes.size();) {
    const auto* stop = static_cast<const char*>(std::memchr(text + at, '\0', bytes.size() - at));
    const std::size_t length = stop == nullptr ? bytes.size() - at : stop - (text + at);
    names.emplace_back(text + at, length);
    at += length + 1;
  }
  for (std::size_t i = 0; i + 1 < names.size() && !names[i].empty(); i += 2) {
    pending_->emplace_back(names[i], names[i + 1]);
  }
  return *pending_;
}

// WININIT runs before Windows starts, where only short names are known.
bool RestartSchedule::addWininitLine(const std::string& target, const std::string& source,
                                     Dword& error) {
  const std::string sourceName = shortPath(kernel_, source);
  const std::string targetName = target.empty() ? "NUL" : shortPath(kernel_, target);
  if (sourceName.empty() || targetName.empty()) {
    error = kernel_.getLastError();
    if (error == kErrorSuccess) error = kErrorInsufficientBuffer;
    return false;
  }
  const std::string line = join({targetName, "=", sourceName});
  std::vector<std::string>& lines = wininitLines();
  for (const std::string& existing : lines) {
    if (sameName(existing, line)) return true;
  }
  lines.push_back(line);
  if (writeWininit(kernel_, *wininit_, error)) return true;
  lines.pop_back();
  return false;
}

bool RestartSchedule::deleteAtRestart(const std::string& path, Dword& error) {
  error = kErrorSuccess;
  if (windows9x_) return addWininitLine({}, path, error);
  pending_.reset();  // the list changes under it
  if (kernel_.moveFileEx(path.c_str(), nullptr, kMoveFileDelayUntilReboot)) return true;
  error = kernel_.getLastError();
  return false;
}

bool RestartSchedule::replaceAtRestart(const std::string& target, const std::string& source,
                                       Dword& error) {
  error = kErrorCallNotImplemented;
  return windows9x_ && addWininitLine(target, source, error);
}

bool RestartSchedule::renameAtRestart(const std::string& source, const std::string& target,
                                      Dword& error) {
  error = kErrorCallNotImplemented;
  if (windows9x_) return false;
  pending_.reset();  // the list changes under it
  if (kernel_.moveFileEx(source.c_str(), target.c_str(), kMoveFileDelayUntilReboot)) return true;
  error = kernel_.getLastError();
  return false;
}

void RestartSchedule::withdrawRename(const std::string& source) {
  if (windows9x_) return;
  const std::size_t withdrawn = std::erase_if(pendingOperations(), [&](const auto& pair) {
    return !pair.second.empty() && sameName(withoutPrefix(pair.first), source);
  });
  Dword error = kErrorSuccess;
  if (withdrawn != 0 && !writePendingOperations(registry_, *pending_, error)) {
    pending_.reset();
    if (log_ != nullptr) {
      log_->writeFailure(join({"Withdraw the rename of ", source, " at the next start"}), error);
    }
  }
}

void RestartSchedule::withdrawDeletion(const std::string& path) {
  std::size_t withdrawn = 0;
  Dword error = kErrorSuccess;
  if (windows9x_) {
    std::vector<std::string>& lines = wininitLines();
    if (std::none_of(lines.begin(), lines.end(), isDeletion)) return;
    const std::string name = shortPath(kernel_, path);
    withdrawn = std::erase_if(lines, [&](const std::string& line) {
      return isDeletion(line) && sameName(std::string_view(line).substr(4), name);
    });
    if (withdrawn != 0 && !writeWininit(kernel_, *wininit_, error)) wininit_.reset();
  } else {
    withdrawn = std::erase_if(pendingOperations(), [&](const auto& pair) {
      return pair.second.empty() && sameName(withoutPrefix(pair.first), path);
    });
    if (withdrawn != 0 && !writePendingOperations(registry_, *pending_, error)) pending_.reset();
  }
  if (withdrawn == 0 || log_ == nullptr) return;
  const std::string what = join({"Withdraw the deletion of ", path, " at the next start"});
  if (error == kErrorSuccess) {
    log_->write(join({what, ": withdrawn"}));
  } else {
    log_->writeFailure(what, error);
  }
}

bool RestartSchedule::deletionScheduled(const std::string& path) {
  if (windows9x_) {
    const std::string name = shortPath(kernel_, path);
    const std::vector<std::string>& lines = wininitLines();
    return !name.empty() && std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return isDeletion(line) && sameName(std::string_view(line).substr(4), name);
    });
  }
  const Pairs& pending = pendingOperations();
  return std::any_of(pending.begin(), pending.end(), [&](const auto& pair) {
    return pair.second.empty() && sameName(withoutPrefix(pair.first), path);
  });
}

bool RestartSchedule::waitsForRestart(const std::string& path) {
  if (!windows9x_) return false;
  std::vector<std::string>& lines = wininitLines();
  std::string name;
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || sameName(line.substr(0, equals), "NUL")) continue;
    if (name.empty()) name = shortPath(kernel_, path);
    if (!name.empty() && sameName(line.substr(equals + 1), name)) return true;
  }
  return false;
}

}  // namespace qlx
