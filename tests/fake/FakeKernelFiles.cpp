// KERNEL32: version, directories, files and their handles.

#include <cctype>
#include <cstring>

#include "FakeErrors.h"
#include "FakePaths.h"
#include "FakeState.h"

namespace qlx::fake {
namespace {

using detail::arg::buffer;
using detail::arg::flag;
using detail::arg::handle;
using detail::arg::number;
using detail::arg::text;

constexpr std::uint64_t kFixedCreationTime = 125911584000000000;  // 2000-01-01, as FILETIME
constexpr std::uint64_t kCutTime = 134093000000000000;            // 2025-12, later than any package

// GetSystemDirectoryA's contract: the length on success, the size needed
// (NUL included) when the buffer is too small, the buffer then untouched.
Dword copyDirectoryOut(const std::string& path, char* out, Dword size) {
  const auto length = static_cast<Dword>(path.size());
  if (out == nullptr || size < length + 1) return length + 1;
  std::memcpy(out, path.c_str(), length + 1);
  return length;
}

FileTime toFileTime(std::uint64_t time) {
  return FileTime{static_cast<Dword>(time & 0xFFFFFFFFu), static_cast<Dword>(time >> 32)};
}

// lstrcmpA's word sort, for ASCII: letters compare without case first, and
// only equal strings are ordered by case, lower before upper.
int linguisticCompare(const char* first, const char* second) {
  int caseOrder = 0;
  for (std::size_t i = 0;; ++i) {
    const auto a = static_cast<unsigned char>(first[i]);
    const auto b = static_cast<unsigned char>(second[i]);
    const int foldedA = std::tolower(a);
    const int foldedB = std::tolower(b);
    if (foldedA != foldedB) return foldedA < foldedB ? -1 : 1;
    if (a == '\0') return caseOrder;
    if (caseOrder == 0 && a != b) caseOrder = std::islower(a) ? -1 : 1;
  }
}

constexpr Dword kOpenAlways = 4;
constexpr Dword kFileBegin = 0, kFileCurrent = 1, kFileEnd = 2;

}  // namespace

bool FakePlatform::isWow64Process(Handle process, bool* wow64) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("IsWow64Process", {handle(process)})) return s.fail(*error);
  if (!s.wow64) return s.fail(kErrorProcNotFound);
  if (process != kCurrentProcessPseudoHandle || wow64 == nullptr) {
    return s.fail(kErrorInvalidParameter);
  }
  *wow64 = *s.wow64;
  return true;
}

bool FakePlatform::getVersionEx(OsVersionInfo& info) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("GetVersionExA", {number(info.dwOSVersionInfoSize)})) {
    return s.fail(*error);
  }
  if (s.versionFailures > 0) {
    --s.versionFailures;
    return s.fail(kErrorInsufficientBuffer);
  }
  // The size member is how the system tells the record's layout.
  if (info.dwOSVersionInfoSize != sizeof(OsVersionInfo)) return s.fail(kErrorInsufficientBuffer);
  info.dwMajorVersion = s.version.major;
  info.dwMinorVersion = s.version.minor;
  info.dwPlatformId = s.version.platformId;
  // Windows 9x keeps major and minor in the high word of the build number.
  info.dwBuildNumber = s.isWindows9x() ? (s.version.major << 24) | (s.version.minor << 16) |
                                             (s.version.build & 0xFFFF)
                                       : s.version.build;
  std::memset(info.szCSDVersion, 0, sizeof info.szCSDVersion);
  return true;
}

Dword FakePlatform::getSystemDirectory(char* out, Dword size) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("GetSystemDirectoryA", {buffer(out), number(size)})) {
    s.fail(*error);
    return 0;
  }
  return copyDirectoryOut(s.systemDirectory, out, size);
}

Dword FakePlatform::getWindowsDirectory(char* out, Dword size) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("GetWindowsDirectoryA", {buffer(out), number(size)})) {
    s.fail(*error);
    return 0;
  }
  return copyDirectoryOut(s.windowsDirectory, out, size);
}

bool FakePlatform::copyFile(const char* existing, const char* target, bool failIfExists) {
  State& s = *state_;
  // The power goes in the middle of the copy: half the file, dated now.
  if (s.log.powerCutDue() && existing != nullptr && target != nullptr &&
      s.files.isFile(s.absolute(existing)) &&
      s.files.isDirectory(detail::parentPath(s.absolute(target)))) {
    FakeFile half = s.files.find(s.absolute(existing))->file;
    half.contents.resize(half.contents.size() / 2);
    half.version.reset();
    half.lastWrite = kCutTime;
    half.loaded = false;
    s.files.putFile(s.absolute(target), std::move(half));
  }
  if (auto error =
          s.log.recordFailable("CopyFileA", {text(existing), text(target), flag(failIfExists)})) {
    return s.fail(*error);
  }
  if (existing == nullptr || target == nullptr) return s.fail(kErrorInvalidParameter);
  const std::string from = s.absolute(existing);
  const std::string to = s.absolute(target);
  if (Dword error = s.files.readError(from, kFileShareRead)) return s.fail(error);
  if (!s.files.isDirectory(detail::parentPath(to))) return s.fail(kErrorPathNotFound);
  if (s.files.isDirectory(to)) return s.fail(kErrorAccessDenied);
  if (failIfExists && s.files.isFile(to)) return s.fail(kErrorFileExists);
  if (Dword error = s.files.writeError(to)) return s.fail(error);
  if (Dword error = s.replaceError(to)) return s.fail(error);
  // The source is open for reading while the target is written.
  if (s.heldOpen(to) || detail::equalsIgnoreCase(from, to)) {
    return s.fail(kErrorSharingViolation);
  }
  FakeFile copy = s.files.find(from)->file;
  // Contents, version, last-write time and attributes travel, read-only
  // included, as from a CD.
  copy.openForWriting = false;
  copy.loaded = false;
  copy.attributes |= kFileAttributeArchive;
  copy.unflushed = true;  // in the system's cache until flushed
  s.files.putFile(to, std::move(copy));
  return true;
}

bool FakePlatform::flushFileBuffers(Handle file) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("FlushFileBuffers", {handle(file)})) {
    return s.fail(*error);
  }
  const detail::HandleTable::Entry* open = s.handles.find(file, detail::HandleKind::File);
  if (open == nullptr) return s.fail(kErrorInvalidHandle);
  if (open->access != kGenericWrite) return s.fail(kErrorAccessDenied);
  FakeFile flushed = s.files.find(open->target)->file;
  flushed.unflushed = false;
  s.files.putFile(open->target, std::move(flushed));
  return true;
}

bool FakePlatform::deleteFile(const char* path) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("DeleteFileA", {text(path)})) return s.fail(*error);
  if (path == nullptr) return s.fail(kErrorInvalidParameter);
  const std::string absolute = s.absolute(path);
  if (Dword error = s.files.writeError(absolute)) return s.fail(error);
  if (!s.files.isFile(absolute)) return s.fail(kErrorFileNotFound);
  if (Dword error = s.deleteError(absolute)) return s.fail(error);
  if (s.heldOpen(absolute)) return s.fail(kErrorSharingViolation);
  s.files.remove(absolute);
  return true;
}

Dword FakePlatform::getFileAttributes(const char* path) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("GetFileAttributesA", {text(path)})) {
    s.fail(*error);
    return kInvalidFileAttributes;
  }
  if (path == nullptr) {
    s.fail(kErrorInvalidParameter);
    return kInvalidFileAttributes;
  }
  const std::string absolute = s.absolute(path);
  if (!s.files.isDirectory(detail::parentPath(absolute)) && !s.files.isDirectory(absolute)) {
    s.fail(kErrorPathNotFound);
    return kInvalidFileAttributes;
  }
  const detail::FileSystem::Entry* entry = s.files.find(absolute);
  if (entry == nullptr) {
    s.fail(kErrorFileNotFound);
    return kInvalidFileAttributes;
  }
  return entry->directory ? kFileAttributeDirectory : entry->file.attributes;
}

bool FakePlatform::setFileAttributes(const char* path, Dword attributes) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("SetFileAttributesA", {text(path), number(attributes)})) {
    return s.fail(*error);
  }
  if (path == nullptr) return s.fail(kErrorInvalidParameter);
  const std::string absolute = s.absolute(path);
  const detail::FileSystem::Entry* entry = s.files.find(absolute);
  if (entry == nullptr) {
    return s.fail(s.files.isDirectory(detail::parentPath(absolute)) ? kErrorFileNotFound
                                                                    : kErrorPathNotFound);
  }
  if (entry->directory) return true;  // only files are modelled with attributes
  FakeFile file = entry->file;
  // FILE_ATTRIBUTE_NORMAL is valid only alone and stands for "none".
  file.attributes = attributes == kFileAttributeNormal ? 0 : attributes;
  s.files.putFile(absolute, std::move(file));
  return true;
}

bool FakePlatform::removeDirectory(const char* path) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("RemoveDirectoryA", {text(path)})) {
    return s.fail(*error);
  }
  if (path == nullptr) return s.fail(kErrorInvalidParameter);
  const std::string absolute = s.absolute(path);
  if (!s.files.isDirectory(absolute)) {
    return s.fail(s.files.isFile(absolute) ? kErrorDirectoryName : kErrorFileNotFound);
  }
  if (s.files.hasChildren(absolute)) return s.fail(kErrorDirNotEmpty);
  s.files.remove(absolute);
  return true;
}

bool FakePlatform::createDirectory(const char* path) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("CreateDirectoryA", {text(path)})) return s.fail(*error);
  if (path == nullptr) return s.fail(kErrorInvalidParameter);
  const std::string absolute = s.absolute(path);
  if (s.files.find(absolute) != nullptr) return s.fail(kErrorAlreadyExists);
  if (!s.files.isDirectory(detail::parentPath(absolute))) return s.fail(kErrorPathNotFound);
  s.files.createDirectory(absolute);
  return true;
}

int FakePlatform::compareStrings(const char* first, const char* second) {
  state_->log.record("lstrcmpA", {text(first), text(second)});
  if (first == nullptr || second == nullptr) {
    return first == second ? 0 : (first == nullptr ? -1 : 1);
  }
  return linguisticCompare(first, second);
}

Handle FakePlatform::createFile(const char* path, Dword access, Dword shareMode, Dword creation,
                                Dword flags) {
  State& s = *state_;
  if (auto error = s.log.recordFailable(
          "CreateFileA",
          {text(path), number(access), number(shareMode), number(creation), number(flags)})) {
    s.fail(*error);
    return kInvalidHandleValue;
  }
  if (path == nullptr) {
    s.fail(kErrorInvalidParameter);
    return kInvalidHandleValue;
  }
  const std::string absolute = s.absolute(path);
  if (access == kGenericWrite && creation == kOpenAlways) {
    // Created empty when missing (its directory must exist); the position starts at 0.
    if (Dword error = s.files.writeError(absolute)) {
      s.fail(error);
      return kInvalidHandleValue;
    }
    const bool existed = s.files.isFile(absolute);
    if (!existed) s.files.putFile(absolute, FakeFile{});
    const Handle file = s.handles.open(detail::HandleKind::File, absolute, kGenericWrite);
    s.filePositions[file] = 0;
    s.lastError = existed ? kErrorAlreadyExists : kErrorSuccess;
    return file;
  }
  // Besides that, only opening an existing file to read it is modelled.
  if (access == kGenericWrite && creation == kOpenExisting) {
    if (!s.files.isFile(absolute)) {
      s.fail(s.files.isDirectory(detail::parentPath(absolute)) ? kErrorFileNotFound
                                                               : kErrorPathNotFound);
      return kInvalidHandleValue;
    }
    if (Dword error = s.files.writeError(absolute)) {
      s.fail(error);
      return kInvalidHandleValue;
    }
    return s.handles.open(detail::HandleKind::File, absolute, kGenericWrite);
  }
  if (access != kGenericRead || creation != kOpenExisting) {
    s.fail(kErrorInvalidParameter);
    return kInvalidHandleValue;
  }
  if (Dword error = s.files.readError(absolute, shareMode)) {
    s.fail(error);
    return kInvalidHandleValue;
  }
  return s.handles.open(detail::HandleKind::File, absolute);
}

bool FakePlatform::getFileTime(Handle file, FileTime* creation, FileTime* lastAccess,
                               FileTime* lastWrite) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("GetFileTime", {handle(file)})) return s.fail(*error);
  const detail::HandleTable::Entry* open = s.handles.find(file, detail::HandleKind::File);
  if (open == nullptr) return s.fail(kErrorInvalidHandle);
  // An open file can be neither deleted nor replaced, so it is still there.
  const FakeFile& contents = s.files.find(open->target)->file;
  if (creation != nullptr) *creation = toFileTime(kFixedCreationTime);
  if (lastAccess != nullptr) *lastAccess = toFileTime(kFixedCreationTime);
  if (lastWrite != nullptr) *lastWrite = toFileTime(contents.lastWrite);
  return true;
}

bool FakePlatform::closeHandle(Handle value) {
  State& s = *state_;
  s.log.record("CloseHandle", {handle(value)});
  if (value == kCurrentProcessPseudoHandle) return true;  // closing it is a no-op
  s.filePositions.erase(value);
  if (s.handles.close(value, detail::HandleKind::File) ||
      s.handles.close(value, detail::HandleKind::Token)) {
    return true;
  }
  return s.fail(kErrorInvalidHandle);
}

}  // namespace qlx::fake

namespace qlx::fake {

Dword FakePlatform::setFilePointer(Handle file, Long distance, Dword method) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("SetFilePointer",
                                        {handle(file), number(distance), number(method)})) {
    s.fail(*error);
    return kInvalidSetFilePointer;
  }
  const auto position = s.filePositions.find(file);
  const detail::HandleTable::Entry* open = s.handles.find(file, detail::HandleKind::File);
  if (open == nullptr || position == s.filePositions.end()) {
    s.fail(kErrorInvalidHandle);
    return kInvalidSetFilePointer;
  }
  const auto size = static_cast<std::int64_t>(s.files.find(open->target)->file.contents.size());
  std::int64_t base = 0;
  switch (method) {
    case kFileBegin:
      break;
    case kFileCurrent:
      base = static_cast<std::int64_t>(position->second);
      break;
    case kFileEnd:
      base = size;
      break;
    default:
      s.fail(kErrorInvalidParameter);
      return kInvalidSetFilePointer;
  }
  const std::int64_t target = base + distance;
  if (target < 0) {
    s.fail(kErrorNegativeSeek);
    return kInvalidSetFilePointer;
  }
  position->second = static_cast<std::size_t>(target);
  return static_cast<Dword>(target);
}

bool FakePlatform::writeFile(Handle file, const void* data, Dword size, Dword* written) {
  State& s = *state_;
  const std::string bytes =
      data == nullptr ? std::string() : std::string(static_cast<const char*>(data), size);
  if (written != nullptr) *written = 0;
  if (auto error = s.log.recordFailable("WriteFile", {handle(file), bytes, number(size)})) {
    return s.fail(*error);
  }
  const detail::HandleTable::Entry* open = s.handles.find(file, detail::HandleKind::File);
  if (open == nullptr) return s.fail(kErrorInvalidHandle);
  const auto position = s.filePositions.find(file);  // kept for handles open for writing
  if ((open->access & kGenericWrite) == 0 || position == s.filePositions.end()) {
    return s.fail(kErrorAccessDenied);
  }
  if (data == nullptr && size != 0) return s.fail(kErrorInvalidParameter);
  FakeFile contents = s.files.find(open->target)->file;
  // Writing past the end fills the gap with zero bytes, as NTFS does.
  if (contents.contents.size() < position->second) contents.contents.resize(position->second, '\0');
  contents.contents.replace(position->second, bytes.size(), bytes);
  s.files.putFile(open->target, std::move(contents));
  position->second += bytes.size();
  if (written != nullptr) *written = size;
  return true;
}

void FakePlatform::getLocalTime(SystemTime& time) {
  State& s = *state_;
  s.log.record("GetLocalTime", {});
  time = s.localTime;
}

}  // namespace qlx::fake
