// The entry in the system's list of installed software, and the uninstaller
// in a folder of its own under the Windows directory.

#include "engine/UninstallRegistration.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/DirectoryBuffer.h"
#include "engine/FilePlacement.h"
#include "engine/InstallLog.h"
#include "engine/InstallSteps.h"
#include "engine/InstallTexts.h"
#include "engine/Reporter.h"
#include "engine/RestartSchedule.h"
#include "engine/UninstallEntry.h"
#include "engine/UpdatePlan.h"

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
void logRegistry(Reporter& reporter, const std::string& what, Long result) {
  if (result == kRegSuccess) {
    reporter.line(join({what, ": ok"}));
  } else {
    reporter.quietFailure(what, static_cast<Dword>(result));
  }
}

}  // namespace

bool registerUninstall(Platform& platform, Reporter& reporter, bool windows9x) {
  RestartSchedule schedule(platform.kernel, platform.registry, windows9x, reporter.log());
  const bool entry = writeUninstallEntry(platform, reporter);
  return placeUninstallerFiles(platform, reporter, schedule) && entry;
}

bool writeUninstallEntry(Platform& platform, Reporter& reporter) {
  Registry& registry = platform.registry;
  Kernel& kernel = platform.kernel;

  // An entry from an earlier installation goes first, extra values and all.
  const std::string keyName = join({"Uninstall key HKLM\\", kKey});
  HKey earlier = 0;
  if (registry.regOpenKeyEx(kHKeyLocalMachine, kKey, 0, kKeyReadWrite, &earlier) == kRegSuccess) {
    logRegistry(reporter, join({keyName, ": delete the earlier entry"}),
                registry.regDeleteKey(kHKeyLocalMachine, kKey));
    registry.regCloseKey(earlier);
  }

  HKey created = 0;
  const Long createResult = registry.regCreateKey(kHKeyLocalMachine, kKey, &created);
  if (createResult != kRegSuccess) {
    reporter.failure(join({keyName, ": create"}), text::kCreateKeyError,
                     static_cast<Dword>(createResult));
    return false;
  }
  logRegistry(reporter, join({keyName, ": create"}), createResult);

  bool written = true;
  HKey entry = 0;
  const Long openResult = registry.regOpenKeyEx(kHKeyLocalMachine, kKey, 0, kKeyReadWrite, &entry);
  if (openResult == kRegSuccess) {
    const auto setShown = [&](const char* name, const std::string& data) {
      const std::string what = join({"Uninstall value ", quoted(name), " = ", quoted(data)});
      const Long result = setString(registry, entry, name, data);
      if (result == kRegSuccess) {
        logRegistry(reporter, what, result);
      } else {
        reporter.failure(what, text::kSetValueError, static_cast<Dword>(result));
        written = false;
      }
    };
    setShown("DisplayName", kDisplayName);
    setShown("DALVERA QLX-957", "");
    DirectoryBuffer windows;
    if (queryWindowsDirectory(kernel, windows)) {
      setShown("UninstallString",
               commandLineFor(join({uninstallerFolder(windows), "\\", uninstall::kProgram})));
    } else {
      reporter.failure("GetWindowsDirectoryA", text::kWindowsDirectoryError, kernel.getLastError());
      written = false;
    }
    registry.regCloseKey(entry);
  } else {
    reporter.failure(join({keyName, ": open"}), text::kOpenKeyError,
                     static_cast<Dword>(openResult));
    written = false;
  }
  registry.regCloseKey(created);
  return written;
}

bool placeUninstallerFiles(Platform& platform, Reporter& reporter, RestartSchedule& schedule,
                           const UpdatePlan* plan) {
  Kernel& kernel = platform.kernel;
  // Without its folder the uninstaller is missing: the installation is incomplete.
  DirectoryBuffer windows;
  if (!queryWindowsDirectory(kernel, windows)) {
    const Dword code = kernel.getLastError();
    reporter.line("Uninstaller folder: skipped, no Windows directory");
    reporter.failure("GetWindowsDirectoryA", text::kWindowsDirectoryError, code);
    return false;
  }
  const std::string folder = uninstallerFolder(windows);
  // An existing folder is simply used.
  const bool folderCreated = kernel.createDirectory(folder.c_str());
  const Dword code = folderCreated ? kErrorSuccess : kernel.getLastError();
  const std::string what = join({"Create folder ", folder});
  if (folderCreated) {
    reporter.line(join({what, ": created"}));
  } else if (code == kErrorAlreadyExists) {
    reporter.line(join({what, ": exists already"}));
  } else {
    reporter.quietFailure(what, code);
  }
  bool placed = true;
  for (const char* file : uninstall::kFiles) {
    if (plan != nullptr) {
      const ComparedFile* compared = plan->find(file, Place::UninstallerFolder);
      if (compared == nullptr || !compared->packageNewer) continue;
    }
    placed = !placeUnlessNewer(platform, reporter, schedule, file, folder + "\\" + file).failed() &&
             placed;
  }
  return placed;
}

}  // namespace qlx
