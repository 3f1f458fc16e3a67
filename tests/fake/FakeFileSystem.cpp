#include "FakeFileSystem.h"

#include "FakeErrors.h"
#include "FakePaths.h"

namespace qlx::fake::detail {

const FileSystem::Entry* FileSystem::find(std::string_view path) const {
  const auto found = entries_.find(toUpper(path));
  return found == entries_.end() ? nullptr : &found->second;
}

bool FileSystem::isFile(std::string_view path) const {
  const Entry* entry = find(path);
  return entry != nullptr && !entry->directory;
}

bool FileSystem::isDirectory(std::string_view path) const {
  const Entry* entry = find(path);
  return entry != nullptr && entry->directory;
}

void FileSystem::addDirectories(std::string_view path) {
  if (path.empty() || isDirectory(path)) return;
  addDirectories(parentPath(path));
  createDirectory(path);
}

void FileSystem::createDirectory(std::string_view path) {
  entries_[toUpper(path)] = Entry{std::string(path), true, {}};
}

void FileSystem::putFile(std::string_view path, FakeFile file) {
  Entry& entry = entries_[toUpper(path)];
  if (entry.path.empty() || entry.directory) entry.path = std::string(path);
  entry.directory = false;
  entry.file = std::move(file);
}

void FileSystem::remove(std::string_view path) { entries_.erase(toUpper(path)); }

std::vector<std::string> FileSystem::filesIn(std::string_view directory) const {
  const std::string parent = toUpper(directory);
  std::vector<std::string> names;
  for (const auto& [key, entry] : entries_) {
    if (!entry.directory && parentPath(key) == parent) names.push_back(fileName(entry.path));
  }
  return names;
}

std::vector<std::string> FileSystem::allFiles() const {
  std::vector<std::string> paths;
  for (const auto& [key, entry] : entries_) {
    if (!entry.directory) paths.push_back(entry.path);
  }
  return paths;
}

bool FileSystem::hasChildren(std::string_view directory) const {
  const std::string parent = toUpper(directory);
  for (const auto& [key, entry] : entries_) {
    if (parentPath(key) == parent) return true;
  }
  return false;
}

Dword FileSystem::readError(std::string_view path, Dword shareMode) const {
  constexpr Dword kFileShareWrite = 0x2;
  if (!isDirectory(parentPath(path))) return kErrorPathNotFound;
  const Entry* entry = find(path);
  if (entry == nullptr) return kErrorFileNotFound;
  if (entry->directory) return kErrorAccessDenied;
  if (entry->file.openForWriting && (shareMode & kFileShareWrite) == 0) {
    return kErrorSharingViolation;
  }
  return kErrorSuccess;
}

Dword FileSystem::writeError(std::string_view path) const {
  if (!isDirectory(parentPath(path))) return kErrorPathNotFound;
  const Entry* entry = find(path);
  if (entry == nullptr) return kErrorSuccess;
  if (entry->directory) return kErrorAccessDenied;
  if (entry->file.openForWriting) return kErrorSharingViolation;
  return kErrorSuccess;
}

}  // namespace qlx::fake::detail
