// The entry in the system's list of installed software, and the uninstaller
// in a folder of its own under the Windows directory.

#include <cstring>
#include <string>

#include "engine/DirectoryBuffer.h"
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

}  // namespace

void PrinterInstaller::registerUninstall() {
  Registry& registry = platform_.registry;
  Kernel& kernel = platform_.kernel;

  // An entry from an earlier installation goes first, extra values and all.
  HKey earlier = 0;
  if (registry.regOpenKeyEx(kHKeyLocalMachine, kUninstallKey, 0, kKeyReadWrite, &earlier) ==
      kRegSuccess) {
    registry.regDeleteKey(kHKeyLocalMachine, kUninstallKey);
    registry.regCloseKey(earlier);
  }

  HKey created = 0;
  const bool wasCreated =
      registry.regCreateKey(kHKeyLocalMachine, kUninstallKey, &created) == kRegSuccess;

  DirectoryBuffer windows;
  HKey entry = 0;
  if (registry.regOpenKeyEx(kHKeyLocalMachine, kUninstallKey, 0, kKeyReadWrite, &entry) ==
      kRegSuccess) {
    setString(registry, entry, "DisplayName", kDisplayName);
    setString(registry, entry, "DALVERA QLX-957", "");
    if (queryWindowsDirectory(kernel, windows)) {
      setString(registry, entry, "UninstallString",
                commandLineFor(std::string(windows.bytes) + kUninstallerProgram));
    }
    registry.regCloseKey(entry);
  }
  if (wasCreated) registry.regCloseKey(created);

  if (!queryWindowsDirectory(kernel, windows)) return;
  const std::string folder = std::string(windows.bytes) + kUninstallerFolder;
  kernel.createDirectory(folder.c_str());  // an existing folder is simply used
  for (const char* file : kUninstallerFiles) {
    kernel.copyFile(file, (folder + "\\" + file).c_str(), false);
  }
}

}  // namespace qlx
