#pragma once

// The machine behind FakePlatform, shared by the files that implement it.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "FakeCallLog.h"
#include "FakeFileSystem.h"
#include "FakeHandles.h"
#include "FakeMemory.h"
#include "FakePaths.h"
#include "FakePlatform.h"
#include "FakeRegistryTree.h"
#include "FakeSystemMessages.h"

namespace qlx::fake {

inline constexpr char kEnvironmentWindows9x[] = "Windows 4.0";
inline constexpr char kEnvironmentWindowsNt[] = "Windows NT x86";
// Where Windows NT keeps what MoveFileExA is to do at the next start.
inline constexpr char kSessionManagerKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
inline constexpr char kPendingRenames[] = "PendingFileRenameOperations";
inline constexpr Handle kCurrentProcessPseudoHandle = kInvalidHandleValue;  // (HANDLE)-1

// Only the local machine is modelled; a null or empty server name means it.
inline bool isLocalServer(const char* server) { return server == nullptr || *server == '\0'; }

struct FakePlatform::State {
  struct Version {
    Dword platformId = kVerPlatformWin32Nt, major = 5, minor = 1, build = 2600;
  };
  struct Monitor {
    std::string name, dll;
  };
  struct Processor {
    std::string name, environment, file;  // environment empty: every environment has it
  };
  struct Spooler {
    std::vector<DriverRecord> installedDrivers;  // environment filled in
    std::vector<PrinterEntry> printers;
    std::vector<Monitor> monitors;
    std::vector<Processor> processors = {{"WinPrint", "", "winprint.dll"}};
    std::vector<std::string> ports = {
        "COM1:", "COM2:", "COM3:", "COM4:", "LPT1:", "LPT2:", "LPT3:", "FILE:"};
    std::vector<MonitorRecord> monitorsAdded, monitorCalls;
    std::vector<ProcessorRecord> processorsAdded, processorCalls;
    std::vector<DriverRecord> driversAdded, driverCalls;
    std::vector<PrinterRecord> printersAdded, printerCalls;
  };
  struct ProgressBar {
    int low = 0, high = 100, step = 11, position = 0;
  };
  struct DialogScript {
    DialogResult result = DialogResult::Ok;
    std::optional<int> first, second;
  };

  // ---- machine
  Version version;
  int versionFailures = 0;
  std::optional<bool> wow64 = false;  // nullopt: no IsWow64Process
  bool administrator = true;
  std::string windowsDirectory, systemDirectory, driverDirectory, processorDirectory;
  std::string currentDirectory = "C:\\SETUP";
  std::string programPath = "C:\\SETUP\\QLX957_Installer.exe";
  bool ghostingDisabled = false;
  detail::FileSystem files;
  detail::RegistryTree registry;
  detail::HandleTable handles;
  std::map<Handle, std::size_t> filePositions;  // of files opened for writing
  std::set<std::string> mutexesElsewhere;
  std::vector<std::string> mutexesOpened;
  std::map<std::pair<std::string, int>, std::function<void()>> afterHooks;
  SystemTime localTime{2026, 12, 2, 8, 22, 15, 3, 0};
  detail::MemoryHeap memory;
  std::map<Dword, std::string> systemMessages = detail::defaultSystemMessages();
  bool shutdownHeld = true, shutdownEnabled = false;
  bool exitRefused = false, restartRequested = false;
  Spooler spooler;

  // ---- the user and the windows
  std::deque<int> answers;
  std::vector<MessageBoxRecord> messageBoxes;
  std::vector<Refresh> refreshes;
  ProgressBar bar;
  DialogScript osDialog, portDialog;
  int osRuns = 0, portRuns = 0, osIndexShown = -1;

  // ---- the thread and the record
  Dword lastError = 0;
  std::uint64_t clockMs = 0;
  detail::CallLog log;

  // Sets the thread's last error; false for the caller's failure value.
  bool fail(Dword error) {
    lastError = error;
    return false;
  }
  std::string absolute(std::string_view path) const {
    return detail::absolutePath(path, currentDirectory);
  }
  bool isWindows9x() const { return version.platformId == kVerPlatformWin32Windows; }
  std::string ownEnvironment() const {
    return isWindows9x() ? kEnvironmentWindows9x : kEnvironmentWindowsNt;
  }
  // The environment a spooler call means: null or empty for the machine's
  // own; nullopt for any other, which the fake does not model.
  std::optional<std::string> environment(const char* requested) const;
  // A file named bare or relative lies in `directory`; a full path is taken as it is.
  std::string locate(std::string_view directory, const char* name) const;
  bool heldOpen(std::string_view path) const {
    return handles.isOpen(detail::HandleKind::File, path);
  }
  // Why the file at `path` cannot be replaced, beyond what the file system
  // says: read-only (5) or loaded by the spooler (32); 0 when it can.
  Dword replaceError(std::string_view path) const;
  // The same for deleting it: read-only or loaded (5).
  Dword deleteError(std::string_view path) const;
  // The spooler has loaded the library at `path`, if it is there.
  void markLoaded(const std::string& path);
  // The long path of a file named by the short names of its folder's files
  // (WININIT.INI knows only those).
  std::string longPath(const std::string& path) const;
  // Renames a file now, replacing an existing target only with `replace`;
  // false with the last error set.
  bool rename(const std::string& from, const std::string& to, bool replace);
  // MoveFileExA's delayed operations in their order: (source, target), the
  // target empty for a deletion and led by '!' where it may be replaced.
  std::vector<std::pair<std::string, std::string>> pendingRenames() const;
  void schedulePendingRename(const std::string& from, const std::string& to, bool replace);
  // Runs the hook armed for the call just made, if any.
  void runAfterHook(const std::string& name);
  // The printer of that name, pending deletion or not; null when none.
  PrinterEntry* printer(std::string_view name);
  bool processorKnown(std::string_view name, std::string_view environment) const;
};

}  // namespace qlx::fake
