// The process itself: its program file, its current directory, and whether
// Windows may ghost its windows.

#include "FakeErrors.h"
#include "FakeState.h"

namespace qlx::fake {

using detail::arg::number;
using detail::arg::text;

void FakePlatform::setProgramPath(const std::string& path) { state_->programPath = path; }

std::string FakePlatform::currentDirectory() const { return state_->currentDirectory; }

bool FakePlatform::windowsGhostingDisabled() const { return state_->ghostingDisabled; }

// As Windows XP answers: a path cut short fills the buffer without a NUL and
// returns its size.
Dword FakePlatform::getModuleFileName(char* buffer, Dword size) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("GetModuleFileNameA", {"buffer", number(size)})) {
    s.fail(*error);
    return 0;
  }
  if (buffer == nullptr || size == 0) {
    s.fail(kErrorInsufficientBuffer);
    return 0;
  }
  const std::string& path = s.programPath;
  if (path.size() >= size) {
    path.copy(buffer, size);
    s.fail(kErrorInsufficientBuffer);
    return size;
  }
  buffer[path.copy(buffer, path.size())] = '\0';
  return static_cast<Dword>(path.size());
}

// Only drive-letter directories are modelled as the current directory.
bool FakePlatform::setCurrentDirectory(const char* path) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("SetCurrentDirectoryA", {text(path)})) {
    return s.fail(*error);
  }
  if (path == nullptr || *path == '\0') return s.fail(kErrorInvalidParameter);
  const std::string absolute = s.absolute(path);
  if (absolute.starts_with("\\\\")) return s.fail(kErrorPathNotFound);
  if (!s.files.isDirectory(absolute)) return s.fail(kErrorFileNotFound);
  s.currentDirectory = absolute;
  return true;
}

bool FakePlatform::disableWindowsGhosting() {
  State& s = *state_;
  const State::Version& v = s.version;
  const bool present =
      v.platformId == kVerPlatformWin32Nt && (v.major > 5 || (v.major == 5 && v.minor >= 1));
  if (!present) return false;  // looked up, not found: no call made
  s.log.record("DisableProcessWindowsGhosting", {});
  s.ghostingDisabled = true;
  return true;
}

}  // namespace qlx::fake
