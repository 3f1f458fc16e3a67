#include "FakeState.h"

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
