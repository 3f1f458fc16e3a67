// The entry in the system's list of installed software, and the uninstaller
// in a folder of its own under the Windows directory.

#include <cstring>
#include <string>

#include "engine/DirectoryBuffer.h"
#include "engine/InstallLog.h"
#include "engine/InstallTexts.h"
#include "engine/PrinterInstaller.h"
#include "system/UninstallEntry.h"

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

void PrinterInstaller::registerUninstall() {
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
  const bool wasCreated = createResult == kRegSuccess;
  logRegistry(log, join({keyName, ": create"}), createResult);

  DirectoryBuffer windows;
  HKey entry = 0;
  const Long openResult = registry.regOpenKeyEx(kHKeyLocalMachine, kKey, 0, kKeyReadWrite, &entry);
  if (openResult == kRegSuccess) {
    const auto setLogged = [&](const char* name, const std::string& data) {
      logRegistry(log, join({"Uninstall value ", quoted(name), " = ", quoted(data)}),
                  setString(registry, entry, name, data));
    };
    setLogged("DisplayName", kDisplayName);
    setLogged("DALVERA QLX-957", "");
    if (queryWindowsDirectory(kernel, windows)) {
      setLogged("UninstallString",
                commandLineFor(std::string(windows.bytes) + uninstall::kProgram));
    }
    registry.regCloseKey(entry);
  } else {
    logRegistry(log, join({keyName, ": open"}), openResult);
  }
  if (wasCreated) registry.regCloseKey(created);

  // Without its folder the uninstaller is missing: the installation is incomplete.
  if (!queryWindowsDirectory(kernel, windows)) {
    const Dword code = kernel.getLastError();
    if (log != nullptr) log->write("Uninstaller folder: skipped, no Windows directory");
    incomplete_ = true;
    reportApiError(text::kWindowsDirectoryError, code);
    return;
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
  for (const char* file : uninstall::kFiles) {
    const CopyResult copied = copyLogged(kernel, log, file, folder + "\\" + file, false);
    if (copied.failed()) {
      incomplete_ = true;
      reportCopyFailure(copied);
    }
  }
}

}  // namespace qlx
