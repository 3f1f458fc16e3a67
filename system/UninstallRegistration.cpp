// The entry in the system's list of installed software, and the uninstaller
// in a folder of its own under the Windows directory.

#include <cstring>
#include <string>

#include "engine/DirectoryBuffer.h"
#include "engine/InstallLog.h"
#include "engine/PrinterInstaller.h"

namespace qlx {
namespace {

constexpr char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DALVERA_QLX-957";
constexpr char kDisplayName[] = "DALVERA QLX-957 POS Windows Driver 3.1.1E";
constexpr char kUninstallerFolder[] = "\\QLX-957";
constexpr char kUninstallerProgram[] = "\\QLX-957\\QLX957_Uninstaller.exe";
constexpr const char* kUninstallerFiles[] = {"QLX957_Uninstaller.exe", "Uninstall_2k.dll",
                                             "Uninstall_98.dll"};

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
  const std::string keyName = join({"Uninstall key HKLM\\", kUninstallKey});
  HKey earlier = 0;
  if (registry.regOpenKeyEx(kHKeyLocalMachine, kUninstallKey, 0, kKeyReadWrite, &earlier) ==
      kRegSuccess) {
    logRegistry(log, join({keyName, ": delete the earlier entry"}),
                registry.regDeleteKey(kHKeyLocalMachine, kUninstallKey));
    registry.regCloseKey(earlier);
  }

  HKey created = 0;
  const Long createResult = registry.regCreateKey(kHKeyLocalMachine, kUninstallKey, &created);
  const bool wasCreated = createResult == kRegSuccess;
  logRegistry(log, join({keyName, ": create"}), createResult);

  DirectoryBuffer windows;
  HKey entry = 0;
  const Long openResult =
      registry.regOpenKeyEx(kHKeyLocalMachine, kUninstallKey, 0, kKeyReadWrite, &entry);
  if (openResult == kRegSuccess) {
    const auto setLogged = [&](const char* name, const std::string& data) {
      logRegistry(log, join({"Uninstall value ", quoted(name), " = ", quoted(data)}),
                  setString(registry, entry, name, data));
    };
    setLogged("DisplayName", kDisplayName);
    setLogged("DALVERA QLX-957", "");
    if (queryWindowsDirectory(kernel, windows)) {
      setLogged("UninstallString",
                commandLineFor(std::string(windows.bytes) + kUninstallerProgram));
    }
    registry.regCloseKey(entry);
  } else {
    logRegistry(log, join({keyName, ": open"}), openResult);
  }
  if (wasCreated) registry.regCloseKey(created);

  if (!queryWindowsDirectory(kernel, windows)) {
    if (log != nullptr) log->write("Uninstaller folder: skipped, no Windows directory");
    return;
  }
  const std::string folder = std::string(windows.bytes) + kUninstallerFolder;
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
  for (const char* file : kUninstallerFiles) {
    copyLogged(kernel, log, file, folder + "\\" + file, false);
  }
}

}  // namespace qlx
