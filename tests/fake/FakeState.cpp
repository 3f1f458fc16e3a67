#include "FakeState.h"

#include <algorithm>

#include "FakePaths.h"

namespace qlx::fake {

std::optional<std::string> FakePlatform::State::environment(const char* requested) const {
  const std::string own = ownEnvironment();
  if (requested == nullptr || *requested == '\0' || detail::equalsIgnoreCase(requested, own)) {
    return own;
  }
  return std::nullopt;
}

std::string FakePlatform::State::locate(std::string_view directory, const char* name) const {
  if (detail::isAbsolutePath(name)) return absolute(name);
  return absolute(detail::joinPath(directory, name));
}

Dword FakePlatform::State::replaceError(std::string_view path) const {
  const detail::FileSystem::Entry* entry = files.find(path);
  if (entry == nullptr || entry->directory) return kErrorSuccess;
  if (entry->file.readOnly()) return kErrorAccessDenied;
  if (entry->file.loaded) return kErrorSharingViolation;
  return kErrorSuccess;
}

Dword FakePlatform::State::deleteError(std::string_view path) const {
  const detail::FileSystem::Entry* entry = files.find(path);
  if (entry == nullptr || entry->directory) return kErrorSuccess;
  return entry->file.readOnly() || entry->file.loaded ? kErrorAccessDenied : kErrorSuccess;
}

void FakePlatform::State::markLoaded(const std::string& path) {
  const detail::FileSystem::Entry* entry = files.find(path);
  if (entry == nullptr || entry->directory) return;
  FakeFile file = entry->file;
  file.loaded = true;
  files.putFile(path, std::move(file));
}

bool FakePlatform::State::rename(const std::string& from, const std::string& to, bool replace) {
  if (!files.isDirectory(detail::parentPath(from))) return fail(kErrorPathNotFound);
  if (!files.isFile(from))
    return fail(files.isDirectory(from) ? kErrorAccessDenied : kErrorFileNotFound);
  if (heldOpen(from)) return fail(kErrorSharingViolation);
  // Windows 9x cannot rename a library it has loaded; Windows NT can.
  if (isWindows9x() && files.find(from)->file.loaded) return fail(kErrorSharingViolation);
  if (!files.isDirectory(detail::parentPath(to))) return fail(kErrorPathNotFound);
  if (const detail::FileSystem::Entry* existing = files.find(to);
      existing != nullptr && !detail::equalsIgnoreCase(from, to)) {
    if (!replace) return fail(kErrorAlreadyExists);
    if (existing->directory || existing->file.readOnly() || existing->file.loaded) {
      return fail(kErrorAccessDenied);
    }
    if (heldOpen(to)) return fail(kErrorSharingViolation);
  }
  FakeFile moved = files.find(from)->file;
  files.remove(from);
  files.putFile(to, std::move(moved));
  lastError = kErrorSuccess;
  return true;
}

std::vector<std::pair<std::string, std::string>> FakePlatform::State::pendingRenames() const {
  std::vector<std::pair<std::string, std::string>> pairs;
  const auto values = registry.values(kSessionManagerKey);
  const auto value = std::find_if(values.begin(), values.end(), [](const auto& entry) {
    return detail::equalsIgnoreCase(entry.first, kPendingRenames);
  });
  if (value == values.end()) return pairs;
  const std::string bytes(value->second.data.begin(), value->second.data.end());
  // Source and target alternate; a pair may end the list with its empty target.
  std::vector<std::string> names;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t end = bytes.find('\0', at);
    names.push_back(bytes.substr(at, end == std::string::npos ? std::string::npos : end - at));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  const auto plain = [](std::string name) {
    const bool replace = name.starts_with('!');
    if (replace) name.erase(0, 1);
    if (name.starts_with("\\??\\")) name.erase(0, 4);
    return replace ? "!" + name : name;
  };
  for (std::size_t i = 0; i + 1 < names.size(); i += 2) {
    if (names[i].empty()) break;
    pairs.emplace_back(plain(names[i]), plain(names[i + 1]));
  }
  return pairs;
}

void FakePlatform::State::schedulePendingRename(const std::string& from, const std::string& to,
                                                bool replace) {
  std::string bytes;
  for (const auto& [source, target] : pendingRenames()) {
    bytes += "\\??\\" + source + '\0';
    bytes += (target.empty()            ? ""
              : target.starts_with('!') ? "!\\??\\" + target.substr(1)
                                        : "\\??\\" + target) +
             '\0';
  }
  bytes += "\\??\\" + from + '\0';
  bytes += (to.empty() ? "" : (replace ? "!\\??\\" : "\\??\\") + to) + '\0';
  bytes += '\0';
  registry.create(kSessionManagerKey);
  registry.setValue(
      kSessionManagerKey, kPendingRenames,
      RegistryValue{kRegMultiSz, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
}

void FakePlatform::State::runAfterHook(const std::string& name) {
  const auto hook = afterHooks.find({name, log.occurrences(name)});
  if (hook == afterHooks.end()) return;
  const std::function<void()> action = std::move(hook->second);
  afterHooks.erase(hook);
  action();
}

PrinterEntry* FakePlatform::State::printer(std::string_view name) {
  for (PrinterEntry& entry : spooler.printers) {
    if (detail::equalsIgnoreCase(entry.name, name)) return &entry;
  }
  return nullptr;
}

bool FakePlatform::State::processorKnown(std::string_view name,
                                         std::string_view environmentName) const {
  for (const Processor& processor : spooler.processors) {
    if (detail::equalsIgnoreCase(processor.name, name) &&
        (processor.environment.empty() ||
         detail::equalsIgnoreCase(processor.environment, environmentName))) {
      return true;
    }
  }
  return false;
}

}  // namespace qlx::fake
