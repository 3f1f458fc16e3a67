// The entry in the system's list of installed software, and the uninstaller
// in a folder of its own under the Windows directory.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/DirectoryBuffer.h"
#include "engine/FilePlacement.h"
#include "engine/InstallLog.h"
#include "engine/InstallTexts.h"
#include "engine/PrinterInstaller.h"
#include "engine/RestartSchedule.h"
#include "engine/UninstallEntry.h"

namespace qlx {
namespace {

using uninstall::kDisplayName;
using uninstall::kKey;

// A path with a blank is quoted, or the system could run a planted program
// named after its first word (C:\Program.exe) when the entry is used.
std::string commandLineFor(const std::string& path) {
  if (path.find(' ') == std::string::npos) return path;
  return "\"" + path + "\"";
}

Long setString(Registry& registry, HKey key, const char* name, const std::string& data) {
  return registry.regSetValueEx(key, name, 0, kRegSz,
                                reinterpret_cast<const std::uint8_t*>(data.c_str()),
                                static_cast<Dword>(data.size() + 1));
}

// Registry calls return their code instead of leaving it for GetLastError.
void logRegistry(InstallLog* log, const std::string& what, Long result) {
  if (log == nullptr) return;
  if (result == kRegSuccess) {
    log->write(join({what, ": ok"}));
  } else {
    log->writeFailure(what, static_cast<Dword>(result));
  }
}

}  // namespace

bool PrinterInstaller::registerUninstall() {
  RestartSchedule schedule(platform_.kernel, platform_.registry, isWindows9x(detectOsKind()), log);
  const bool entry = writeUninstallEntry();
  return placeUninstallerFiles(schedule) && entry;
}

bool PrinterInstaller::writeUninstallEntry() {
  Registry& registry = platform_.registry;
  Kernel& kernel = platform_.kernel;

  // An entry from an earlier installation goes first, extra values and all.
  const std::string keyName = join({"Uninstall key HKLM\\", kKey});
  HKey earlier = 0;
  if (registry.regOpenKeyEx(kHKeyLocalMachine, kKey, 0, kKeyReadWrite, &earlier) == kRegSuccess) {
    logRegistry(log, join({keyName, ": delete the earlier entry"}),
                registry.regDeleteKey(kHKeyLocalMachine, kKey));
    registry.regCloseKey(earlier);
  }

  HKey created = 0;
  const Long createResult = registry.regCreateKey(kHKeyLocalMachine, kKey, &created);
  if (createResult != kRegSuccess) {
    showFailure(join({keyName, ": create"}), text::kCreateKeyError,
                static_cast<Dword>(createResult));
    return false;
  }
  logRegistry(log, join({keyName, ": create"}), createResult);

  bool written = true;
  HKey entry = 0;
  const Long openResult = registry.regOpenKeyEx(kHKeyLocalMachine, kKey, 0, kKeyReadWrite, &entry);
  if (openResult == kRegSuccess) {
    const auto setShown = [&](const char* name, const std::string& data) {
      const std::string what = join({"Uninstall value ", quoted(name), " = ", quoted(data)});
      const Long result = setString(registry, entry, name, data);
      if (result == kRegSuccess) {
        logRegistry(log, what, result);
      } else {
        showFailure(what, text::kSetValueError, static_cast<Dword>(result));
        written = false;
      }
    };
    setShown("DisplayName", kDisplayName);
    setShown("DALVERA QLX-957", "");
    DirectoryBuffer windows;
    if (queryWindowsDirectory(kernel, windows)) {
      setShown("UninstallString", commandLineFor(std::string(windows.bytes) + uninstall::kProgram));
    } else {
      showFailure("GetWindowsDirectoryA", text::kWindowsDirectoryError, kernel.getLastError());
      written = false;
    }
    registry.regCloseKey(entry);
  } else {
    showFailure(join({keyName, ": open"}), text::kOpenKeyError, static_cast<Dword>(openResult));
    written = false;
  }
  registry.regCloseKey(created);
  return written;
}

// The uninstaller in its folder: all of its files, or (an update) those
// the package has newer.
bool PrinterInstaller::placeUninstallerFiles(RestartSchedule& schedule, const UpdatePlan* plan) {
  Kernel& kernel = platform_.kernel;
  // Without its folder the uninstaller is missing: the installation is incomplete.
  DirectoryBuffer windows;
  if (!queryWindowsDirectory(kernel, windows)) {
    const Dword code = kernel.getLastError();
    logLine("Uninstaller folder: skipped, no Windows directory");
    showFailure("GetWindowsDirectoryA", text::kWindowsDirectoryError, code);
    return false;
  }
  const std::string folder = std::string(windows.bytes) + uninstall::kFolder;
  // An existing folder is simply used.
  const bool folderCreated = kernel.createDirectory(folder.c_str());
  if (log != nullptr) {
    const Dword code = folderCreated ? kErrorSuccess : kernel.getLastError();
    const std::string what = join({"Create folder ", folder});
    if (folderCreated) {
      log->write(join({what, ": created"}));
    } else if (code == kErrorAlreadyExists) {
      log->write(join({what, ": exists already"}));
    } else {
      log->writeFailure(what, code);
    }
  }
  bool placed = true;
  for (const char* file : uninstall::kFiles) {
    if (plan != nullptr) {
      const ComparedFile* compared = plan->find(file, Place::UninstallerFolder);
      if (compared == nullptr || !compared->packageNewer) continue;
    }
    placed = !placeShown(schedule, file, folder + "\\" + file).failed() && placed;
  }
  return placed;
}

// The entry counts only with the values the uninstaller is found by: a run
// that could not write them has not finished.
bool PrinterInstaller::uninstallEntryComplete(bool* keyThere) {
  Registry& registry = platform_.registry;
  HKey key = 0;
  const bool opened =
      registry.regOpenKeyEx(kHKeyLocalMachine, kKey, 0, kKeyRead, &key) == kRegSuccess;
  if (keyThere != nullptr) *keyThere = opened;
  if (!opened) return false;
  const auto read = [&](const char* name) {
    Dword type = 0;
    Dword size = 0;
    std::string value;
    if (registry.regQueryValueEx(key, name, &type, nullptr, &size) != kRegSuccess ||
        type != kRegSz || size == 0 || size > 4096) {
      return value;
    }
    std::vector<std::uint8_t> data(size, 0);
    if (registry.regQueryValueEx(key, name, &type, data.data(), &size) == kRegSuccess) {
      value.assign(data.begin(), data.begin() + std::min<std::size_t>(size, data.size()));
      while (!value.empty() && value.back() == '\0') value.pop_back();
    }
    return value;
  };
  const bool complete = read("DisplayName") == kDisplayName && !read("UninstallString").empty();
  registry.regCloseKey(key);
  return complete;
}

}  // namespace qlx
