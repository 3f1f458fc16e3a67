// KERNEL32: named mutexes, deletion at the next start (MoveFileExA on NT,
// WININIT.INI's [rename] section on 9x) and the start itself.

#include <algorithm>
#include <cctype>
#include <cstring>

#include "FakeErrors.h"
#include "FakePaths.h"
#include "FakeSpoolerRecords.h"
#include "FakeState.h"

namespace qlx::fake {
namespace {

using detail::arg::buffer;
using detail::arg::number;
using detail::arg::text;

// An 8.3 name stays; a longer one becomes its first six letters or digits,
// "~1" and the first three of its extension, as FAT gives them.
std::string shortComponent(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  const std::string base = name.substr(0, dot);
  const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
  const bool fits = !base.empty() && base.size() <= 8 && extension.size() <= 3 &&
                    name.find(' ') == std::string::npos && base.find('.') == std::string::npos;
  if (fits) return name;
  std::string shortName;
  for (char c : base) {
    if (std::isalnum(static_cast<unsigned char>(c)) && shortName.size() < 6) {
      shortName += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }
  shortName += "~1";
  if (!extension.empty()) shortName += "." + detail::toUpper(extension.substr(0, 3));
  return shortName;
}

struct IniSection {
  std::size_t begin = std::string::npos;  // first byte after the header line
  std::size_t end = std::string::npos;    // the next header, or the end of the text
};

IniSection findSection(const std::string& textBytes, std::string_view name) {
  IniSection section;
  std::size_t at = 0;
  while (at < textBytes.size()) {
    std::size_t lineEnd = textBytes.find('\n', at);
    if (lineEnd == std::string::npos) lineEnd = textBytes.size();
    std::string line = textBytes.substr(at, lineEnd - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const bool header = line.size() >= 2 && line.front() == '[' && line.back() == ']';
    if (header && section.begin != std::string::npos) {
      section.end = at;
      return section;
    }
    if (header && detail::equalsIgnoreCase(line.substr(1, line.size() - 2), name)) {
      section.begin = lineEnd < textBytes.size() ? lineEnd + 1 : lineEnd;
    }
    at = lineEnd + 1;
  }
  if (section.begin != std::string::npos) section.end = textBytes.size();
  return section;
}

std::vector<std::string> sectionLines(const std::string& textBytes, std::string_view name) {
  const IniSection section = findSection(textBytes, name);
  std::vector<std::string> lines;
  if (section.begin == std::string::npos) return lines;
  std::size_t at = section.begin;
  while (at < section.end) {
    std::size_t lineEnd = textBytes.find('\n', at);
    if (lineEnd == std::string::npos || lineEnd > section.end) lineEnd = section.end;
    std::string line = textBytes.substr(at, lineEnd - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    at = lineEnd + 1;
  }
  return lines;
}

}  // namespace

std::string FakePlatform::State::longPath(const std::string& path) const {
  const std::string absolute = this->absolute(path);
  if (files.find(absolute) != nullptr) return absolute;
  const std::string directory = detail::parentPath(absolute);
  const std::string wanted = detail::fileName(absolute);
  for (const std::string& name : files.filesIn(directory)) {
    if (detail::equalsIgnoreCase(shortComponent(name), wanted)) {
      return detail::joinPath(directory, name);
    }
  }
  return absolute;
}

Handle FakePlatform::createMutex(const char* name) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("CreateMutexA", {text(name)})) {
    s.fail(*error);
    return 0;
  }
  const std::string wanted = name == nullptr ? "" : name;
  // Only Windows 2000 and later know the "Global\" namespace; the older
  // systems are modelled as refusing any backslash in a name.
  if (wanted.find('\\') != std::string::npos && (s.isWindows9x() || s.version.major < 5)) {
    s.fail(s.isWindows9x() ? kErrorInvalidName : kErrorPathNotFound);
    return 0;
  }
  const bool exists =
      s.mutexesElsewhere.contains(wanted) ||
      std::find(s.mutexesOpened.begin(), s.mutexesOpened.end(), wanted) != s.mutexesOpened.end();
  s.mutexesOpened.push_back(wanted);
  s.lastError = exists ? kErrorAlreadyExists : kErrorSuccess;
  return s.handles.open(detail::HandleKind::Mutex, wanted);
}

bool FakePlatform::moveFileEx(const char* existing, const char* target, Dword flags) {
  State& s = *state_;
  if (auto error =
          s.log.recordFailable("MoveFileExA", {text(existing), text(target), number(flags)})) {
    return s.fail(*error);
  }
  if (s.isWindows9x()) return s.fail(kErrorCallNotImplemented);
  if (existing == nullptr) return s.fail(kErrorInvalidParameter);
  if ((flags & ~(kMoveFileReplaceExisting | kMoveFileDelayUntilReboot | kMoveFileWriteThrough)) !=
      0) {
    return s.fail(kErrorInvalidParameter);
  }
  // Written through, as with DELAY_UNTIL_REBOOT the documentation forbids.
  if ((flags & kMoveFileWriteThrough) != 0 && (flags & kMoveFileDelayUntilReboot) != 0) {
    return s.fail(kErrorInvalidParameter);
  }
  const std::string from = s.absolute(existing);
  if ((flags & kMoveFileDelayUntilReboot) != 0) {
    // Nothing is checked now: the Session Manager carries it out at the start.
    const bool replace = (flags & kMoveFileReplaceExisting) != 0;
    s.schedulePendingRename(from, target == nullptr ? "" : s.absolute(target), replace);
    return true;
  }
  if (target == nullptr) return s.fail(kErrorInvalidParameter);
  return s.rename(from, s.absolute(target), (flags & kMoveFileReplaceExisting) != 0) ||
         s.fail(s.lastError);
}

bool FakePlatform::moveFile(const char* existing, const char* target) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("MoveFileA", {text(existing), text(target)})) {
    return s.fail(*error);
  }
  if (existing == nullptr || target == nullptr) return s.fail(kErrorInvalidParameter);
  return s.rename(s.absolute(existing), s.absolute(target), false);
}

Dword FakePlatform::getShortPathName(const char* path, char* out, Dword size) {
  State& s = *state_;
  if (auto error =
          s.log.recordFailable("GetShortPathNameA", {text(path), buffer(out), number(size)})) {
    s.fail(*error);
    return 0;
  }
  if (path == nullptr) {
    s.fail(kErrorInvalidParameter);
    return 0;
  }
  const std::string absolute = s.absolute(path);
  if (s.files.find(absolute) == nullptr) {
    s.fail(kErrorFileNotFound);
    return 0;
  }
  std::string shortPath = absolute.substr(0, 2);  // the drive
  for (std::size_t at = 3; at <= absolute.size();) {
    std::size_t next = absolute.find('\\', at);
    if (next == std::string::npos) next = absolute.size();
    shortPath += "\\" + shortComponent(absolute.substr(at, next - at));
    at = next + 1;
  }
  const auto length = static_cast<Dword>(shortPath.size());
  if (out == nullptr || size < length + 1) return length + 1;
  std::memcpy(out, shortPath.c_str(), length + 1);
  return length;
}

Dword FakePlatform::getPrivateProfileSection(const char* section, char* out, Dword size,
                                             const char* file) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("GetPrivateProfileSectionA",
                                        {text(section), buffer(out), number(size), text(file)})) {
    s.fail(*error);
    return 0;
  }
  if (section == nullptr || file == nullptr || out == nullptr || size < 2) {
    s.fail(kErrorInvalidParameter);
    return 0;
  }
  const FakeFile* ini = this->file(file);
  std::string bytes;
  if (ini != nullptr) {
    for (const std::string& line : sectionLines(ini->contents, section)) bytes += line + '\0';
  }
  if (bytes.size() + 1 > size) {
    // Cut at size - 2, both final NULs written, as the system does.
    std::memcpy(out, bytes.data(), size - 2);
    out[size - 2] = '\0';
    out[size - 1] = '\0';
    return size - 2;
  }
  std::memcpy(out, bytes.data(), bytes.size());
  out[bytes.size()] = '\0';
  if (bytes.empty() && size > 1) out[1] = '\0';
  s.lastError = ini == nullptr ? kErrorFileNotFound : kErrorSuccess;
  return static_cast<Dword>(bytes.empty() ? 0 : bytes.size());
}

bool FakePlatform::writePrivateProfileSection(const char* section, const char* lines,
                                              const char* file) {
  State& s = *state_;
  if (auto error =
          s.log.recordFailable("WritePrivateProfileSectionA",
                               {text(section), lines == nullptr ? "null" : "lines", text(file)})) {
    return s.fail(*error);
  }
  if (section == nullptr || file == nullptr) return s.fail(kErrorInvalidParameter);
  const std::string path = s.absolute(file);
  if (!s.files.isDirectory(detail::parentPath(path))) return s.fail(kErrorPathNotFound);
  if (Dword error = s.replaceError(path)) return s.fail(error);
  FakeFile ini = s.files.isFile(path) ? s.files.find(path)->file : FakeFile{};
  std::string body;
  for (const std::string& line : detail::multiStringNames(lines)) body += line + "\r\n";
  const IniSection found = findSection(ini.contents, section);
  if (found.begin == std::string::npos) {
    if (!ini.contents.empty() && ini.contents.back() != '\n') ini.contents += "\r\n";
    ini.contents += "[" + std::string(section) + "]\r\n" + body;
  } else {
    ini.contents.replace(found.begin, found.end - found.begin, body);
  }
  s.files.putFile(path, std::move(ini));
  return true;
}

void FakePlatform::restartWindows() {
  State& s = *state_;
  s.handles.closeAll();  // every program of the session is gone
  s.filePositions.clear();
  // What was never flushed is lost with the power; a clean shutdown writes it.
  const bool powerLost = s.log.takePowerLoss();
  for (const std::string& path : s.files.allFiles()) {
    FakeFile written = s.files.find(path)->file;
    if (!written.unflushed) continue;
    written.unflushed = false;
    if (powerLost) {
      written.contents.clear();
      written.version.reset();
    }
    s.files.putFile(path, std::move(written));
  }
  // Windows NT's Session Manager: in the order they were scheduled.
  for (const auto& [from, to] : s.pendingRenames()) {
    if (to.empty()) {
      if (s.files.isFile(from)) s.files.remove(from);
      continue;
    }
    const bool replace = to.front() == '!';
    const std::string target = replace ? to.substr(1) : to;
    if (!s.files.isFile(from)) continue;
    // Without MOVEFILE_REPLACE_EXISTING a file under the name stays, and so
    // does the one that was to take it.
    if (!replace && s.files.isFile(target)) continue;
    FakeFile moved = s.files.find(from)->file;
    s.files.remove(from);
    s.files.putFile(target, std::move(moved));
  }
  if (!s.pendingRenames().empty()) {
    s.registry.setValue(kSessionManagerKey, kPendingRenames, RegistryValue{kRegMultiSz, {0, 0}});
  }
  // Windows 9x carries out WININIT.INI before it starts, then renames it:
  // "NUL=path" deletes, "target=source" puts source in target's place.
  const std::string wininit = detail::joinPath(s.windowsDirectory, "WININIT.INI");
  if (const FakeFile* ini = file(wininit)) {
    for (const std::string& line : sectionLines(ini->contents, "rename")) {
      const std::size_t equals = line.find('=');
      if (equals == std::string::npos) continue;
      const std::string target = line.substr(0, equals);
      const std::string source = s.longPath(line.substr(equals + 1));
      if (detail::toUpper(target) == "NUL") {
        s.files.remove(source);
        continue;
      }
      if (!s.files.isFile(source)) continue;
      FakeFile moved = s.files.find(source)->file;
      s.files.remove(source);
      s.files.putFile(s.longPath(target), std::move(moved));
    }
    s.files.remove(wininit);
  }
  std::erase_if(s.spooler.printers,
                [](const PrinterEntry& printer) { return printer.deletePending; });
  // The spooler starts again and loads what is registered.
  for (const std::string& path : s.files.allFiles()) {
    FakeFile copy = s.files.find(path)->file;
    if (!copy.loaded) continue;
    copy.loaded = false;
    s.files.putFile(path, std::move(copy));
  }
  for (const State::Monitor& monitor : s.spooler.monitors) {
    if (!monitor.dll.empty()) s.markLoaded(s.locate(s.systemDirectory, monitor.dll.c_str()));
  }
  for (const State::Processor& processor : s.spooler.processors) {
    if (processor.environment.empty()) continue;  // WinPrint is the system's own
    s.markLoaded(s.locate(s.processorDirectory, processor.file.c_str()));
  }
}

void FakePlatform::cutPowerAfter(std::size_t calls) { state_->log.cutPowerAfter(calls); }

}  // namespace qlx::fake
