#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/OptionDialogs.h"
#include "platform/Platform.h"

namespace qlx::fake {

// One recorded platform call: its Win32 name and its arguments as text.
// Strings are written as they are (no quotes), null pointers as "null",
// booleans as 0/1, numbers in decimal, multi-strings with "|" between names
// ("RASDDUI.DLL|RASDDUI.HLP|RASDD.DLL"). Records passed to the spooler are
// kept whole in the spooler's own lists (see below), not only as text.
// The arguments are the interface's, in order, except out-parameters that
// only receive a result (HKEY*, token, LUID, needed/returned counts,
// FormatMessage's text pointer, GetFileTime's times, VerQueryValue's value
// and length, GetFileVersionInfoSize's handle): those are left out. Caller
// buffers and other data pointers read "buffer"/"null"; a record pointer
// reads as its key field (OSVERSIONINFO: its size; MONITOR_INFO_2,
// DRIVER_INFO_3: the name; PRINTER_INFO_2: the printer name; TOKEN_PRIVILEGES:
// "{low,high,attributes}" per privilege, "|" between). Handles are signed
// decimal (GetCurrentProcess() reads -1), HKEY_LOCAL_MACHINE reads "HKLM".
// Examples: "FormatMessageA(4352, null, 2, 1033)",
// "EnumPrinterDriversA(null, null, 3, null, 0)", "RegCreateKeyA(HKLM, SOFTWARE\\X)".
struct Call {
  std::string name;  // "CopyFileA", "AddPrinterA", "Sleep", ...
  std::vector<std::string>
      args;  // e.g. {"driver2k\\QLMON957.DLL", "C:\\WINDOWS\\system32\\QLMON957.DLL", "0"}
  std::string text() const;  // "CopyFileA(driver2k\\QLMON957.DLL, C:\\...\\QLMON957.DLL, 0)"
};

// Thrown by the platform call at which the power goes (cutPowerAfter): the
// program stops there, mid-call, as on a real machine.
struct PowerCut {};

struct FakeFile {
  std::string contents;
  std::optional<VsFixedFileInfo> version;  // the file's version resource, if any
  std::uint64_t lastWrite = 0;             // FILETIME as one 64-bit value
  bool openForWriting = false;             // another process holds it open for writing
  Dword attributes = 0x20;                 // FILE_ATTRIBUTE_ARCHIVE, as a fresh copy has
  // A library the spooler has loaded: it can be neither replaced nor deleted
  // until Windows starts again.
  bool loaded = false;
  // Written but not flushed to the disk: a power cut takes the data away,
  // leaving the name over a file without contents or version.
  bool unflushed = false;
  bool readOnly() const { return (attributes & kFileAttributeReadOnly) != 0; }
};

// A printer as the spooler keeps it.
struct PrinterEntry {
  std::string name, driver, port, processor;
  Dword queuedJobs = 0;
  bool deletePending = false;  // deleted while jobs were queued: it goes when they are done
};

// A spooler record as it was passed, every string copied.
struct MonitorRecord {
  std::string name, environment, dllName;
};
struct ProcessorRecord {
  std::string environment, pathName, name;
};
struct DriverRecord {
  Dword cVersion = 0;
  std::optional<std::string> name, environment, driverPath, dataFile, configFile, helpFile,
      monitorName, defaultDataType;
  std::optional<std::string>
      dependentFiles;  // the multi-string byte for byte, both final NULs included
};
struct PrinterRecord {
  std::optional<std::string> serverName, printerName, shareName, portName, driverName, comment,
      location, sepFile, printProcessor, datatype, parameters;
  bool devModeNull = true, securityDescriptorNull = true;
  Dword attributes = 0, priority = 0, defaultPriority = 0, startTime = 0, untilTime = 0, status = 0,
        cJobs = 0, averagePpm = 0;
};

struct RegistryValue {
  Dword type = 0;
  std::vector<std::uint8_t> data;  // exactly the bytes passed, length as passed
};

struct MessageBoxRecord {
  bool applicationBox = false;  // appMessageBox (true) or MessageBoxA (false)
  WindowHandle owner = 0;
  std::string text, caption;  // caption empty for the application box
  unsigned type = 0;
  unsigned helpContext = 0;
  int answer = 0;
};

// What the progress window showed at one refresh of the main window.
struct Refresh {
  std::string status;
  int barPosition = 0;
  std::uint64_t atMs = 0;  // virtual clock
};

// A small, honest in-memory Windows machine. Defaults: Windows XP (2/5.1),
// C:\WINDOWS, C:\WINDOWS\system32, printer-driver directory
// C:\WINDOWS\system32\spool\drivers\w32x86, print processor directory
// C:\WINDOWS\system32\spool\prtprocs\w32x86, current directory C:\SETUP
// (relative paths resolve against it), all those directories existing, no
// drivers/printers/monitors/processors, the shutdown privilege held, English
// system texts for the common codes (2 "The system cannot find the file
// specified.\r\n", 5, 87, 1797, 1801, 1802, 3006, ...), message boxes answered
// IDOK (OK boxes) and IDNO (Yes/No boxes) unless queued otherwise, both option
// dialogs confirmed (Ok) without changes unless scripted, the ports COM1: to
// LPT3: and FILE:. As on Windows, a read-only file refuses deletion and
// overwriting with 5, a library the spooler has loaded refuses them too (5
// and 32), a driver a printer uses cannot be deleted (3001), nor a print
// processor a printer uses (1003) or a monitor a driver names (3008), and a
// printer deleted with jobs queued stays until they are done. Windows NT
// renames a loaded library but replaces it neither by copy nor by move;
// Windows 9x does neither, and lacks MoveFileExA. A driver added again
// takes a staged file into its folder only when it is newer than the copy
// there (by version, else by date), as AddPrinterDriver does.
// Paths compare case-insensitively, like Windows.
class FakePlatform : public Kernel,
                     public FileVersion,
                     public Registry,
                     public Security,
                     public Spooler,
                     public UserInterface,
                     public ProgressControl,
                     public OptionDialogRunner {
 public:
  FakePlatform();
  ~FakePlatform() override;

  Platform& platform() { return platform_; }

  // ---- machine set-up
  void setVersion(Dword platformId, Dword major, Dword minor, Dword build = 0);
  void setVersionQueryFails(int times);  // the next `times` GetVersionExA calls fail
  // IsWow64Process's answer (32-bit Windows by default); nullopt: a system
  // without the call, which fails with ERROR_PROC_NOT_FOUND.
  void setWow64(std::optional<bool> wow64);
  // Whether the user may administer the print server (OpenPrinterA of the
  // server asking for SERVER_ACCESS_ADMINISTER; refused with 5). Default yes.
  void setAdministrator(bool administrator);
  void setSystemDirectory(const std::string& path);          // created if missing
  void setWindowsDirectory(const std::string& path);         // created if missing
  void setPrinterDriverDirectory(const std::string& path);   // created if missing
  void setPrintProcessorDirectory(const std::string& path);  // created if missing
  // Windows 98 (1/4.10.1998), environment "Windows 4.0": the system, printer-driver and
  // print processor directories all C:\WINDOWS\SYSTEM, as Windows 9x reports them.
  void useWindows9xLayout();
  void addDirectory(const std::string& path);                 // parents created too
  void addFile(const std::string& path, FakeFile file = {});  // parent directories created
  bool fileExists(const std::string& path) const;
  bool directoryExists(const std::string& path) const;
  const FakeFile* file(const std::string& path) const;  // null when absent
  std::vector<std::string> filesIn(
      const std::string& directory) const;             // names, sorted, no subdirs
  std::string resolve(const std::string& path) const;  // absolute form of a relative path
  void setLocalTime(const SystemTime& time);           // what GetLocalTime reports
  void setShutdownPrivilegeHeld(bool held);
  void setSystemMessage(Dword code, std::optional<std::string> text);  // nullopt: no text for code
  void setExitWindowsRefused(bool refused);  // ExitWindowsEx then fails with 1314
  // GetModuleFileNameA's answer; C:\SETUP\QLX957_Installer.exe unless set.
  void setProgramPath(const std::string& path);
  std::string currentDirectory() const;  // absolute, as SetCurrentDirectoryA left it
  // DisableProcessWindowsGhosting exists on NT 5.1 (XP) and later.
  bool windowsGhostingDisabled() const;
  bool shutdownPrivilegeEnabled() const;  // as AdjustTokenPrivileges left it

  // The process's copies of files it read: as a driver CD gives them.
  void makeReadOnly(const std::string& path);
  // A named mutex another process holds (a second copy of a program).
  void holdMutexElsewhere(const std::string& name);
  // Names of the mutexes this process created or opened, in order.
  std::vector<std::string> mutexesOpened() const;
  // Files MoveFileExA has scheduled for deletion at the next start (NT), as
  // Windows keeps them: the Session Manager's PendingFileRenameOperations.
  std::vector<std::string> deletionsAtRestart() const;
  // Windows starts again: scheduled deletions and renames (MoveFileExA's
  // PendingFileRenameOperations; on 9x WININIT.INI's [rename] section, where
  // "NUL=path" deletes and "target=source" replaces) happen, loaded libraries
  // are free, printers deleted with jobs queued are gone, and no handle of
  // the programs before is open any more.
  void restartWindows();
  // The power goes after `calls` more platform calls: the next call throws
  // PowerCut. A CopyFileA it hits leaves its target half written, and the
  // next restartWindows finds every file not flushed without its data.
  void cutPowerAfter(std::size_t calls);
  // `action` runs right after the `occurrence`-th call of `name` (an
  // enumeration) has filled its buffer: another program changing the list.
  void afterCall(const std::string& name, int occurrence, std::function<void()> action);

  // ---- spooler state
  void addInstalledDriver(const std::string& name, const std::string& environment);
  // A driver as a complete record (null fields stay absent); its environment must be set.
  void addInstalledDriver(const DriverInfo3& driver);
  void addInstalledPrinter(const std::string& name,
                           const std::string& driver = "Generic / Text Only",
                           const std::string& port = "LPT1:", Dword queuedJobs = 0,
                           const std::string& processor = "WinPrint");
  // With `dll`, the library exists in the system directory, loaded.
  void addInstalledMonitor(const std::string& name, const std::string& dll = "");
  void addPort(const std::string& name);
  std::vector<std::string> installedDriverNames() const;
  std::vector<std::string> installedPrinterNames() const;
  const std::vector<PrinterEntry>& installedPrinters() const;
  std::vector<std::string> installedMonitorNames() const;
  std::vector<std::string> installedProcessorNames() const;  // of the machine's own environment
  const std::vector<MonitorRecord>& monitors() const;      // every successful AddMonitorA, in order
  const std::vector<ProcessorRecord>& processors() const;  // every successful AddPrintProcessorA
  const std::vector<DriverRecord>& drivers() const;        // every successful AddPrinterDriverA
  const std::vector<PrinterRecord>& printers() const;      // every successful AddPrinterA
  // every record passed to AddMonitorA / AddPrinterDriverA / AddPrinterA, failed ones included
  const std::vector<MonitorRecord>& monitorCalls() const;
  const std::vector<ProcessorRecord>& processorCalls() const;  // null strings read ""
  const std::vector<DriverRecord>& driverCalls() const;
  const std::vector<PrinterRecord>& printerCalls() const;

  // ---- registry (paths without the root, under HKEY_LOCAL_MACHINE, case-insensitive)
  void addRegistryKey(const std::string& path, std::map<std::string, RegistryValue> values = {},
                      bool withSubkey = false);  // a key with a subkey cannot be deleted
  bool registryKeyExists(const std::string& path) const;
  std::map<std::string, RegistryValue> registryValues(const std::string& path) const;

  // ---- user's answers
  void queueMessageBoxAnswer(int answer);  // used by the next box of any kind
  const std::vector<MessageBoxRecord>& messageBoxes() const;
  void scriptOsDialog(DialogResult result, std::optional<int> chosenOsIndex = std::nullopt);
  void scriptPortDialog(DialogResult result, std::optional<int> chosenPortIndex = std::nullopt,
                        std::optional<int> chosenOverwriteIndex = std::nullopt);
  int osDialogRuns() const;
  int portDialogRuns() const;
  int osIndexShown() const;  // osIndex the OS dialog was opened with

  // ---- progress window (this object is also the progress bar control)
  std::string statusString;  // the window's status-line member; link it to the engine
  int barPosition() const;
  const std::vector<Refresh>& refreshes() const;

  // ---- clock, calls, faults, leaks
  std::uint64_t clockMs() const;  // sum of every Sleep
  const std::vector<Call>& calls() const;
  std::vector<std::string> callNames() const;
  std::vector<std::string> callTexts() const;
  std::vector<std::string> callTexts(const std::string& name) const;  // only calls of that name
  // The CopyFileA calls, each new copy written beside its target (NAME.qlx-new)
  // named by the target itself: the files placed, in their order.
  std::vector<std::string> copiesMade() const;
  void clearCalls();
  // Occurrences and indices count from construction or the last clearCalls(), which also
  // restarts failableCallCount(); faults already armed stay armed.
  // The `occurrence`-th call (1-based) of `name` fails with `error`, doing nothing else.
  // Throws std::invalid_argument for a call that is not failable.
  void failCall(const std::string& name, Dword error, int occurrence = 1);
  // The `index`-th (0-based) failable call, counting all names, fails with `error`.
  void failNthFailableCall(std::size_t index, Dword error);
  void clearFaults();                     // every armed fault disarmed
  std::size_t failableCallCount() const;  // failable calls made so far
  int openHandles() const;                // files, tokens, printers, registry keys not yet closed
  int liveAllocations() const;            // global blocks and FormatMessage buffers not yet freed
  bool restartRequested() const;          // ExitWindowsEx succeeded

  // ---- Kernel
  bool getVersionEx(OsVersionInfo& info) override;
  bool isWow64Process(Handle process, bool* wow64) override;
  Dword getSystemDirectory(char* buffer, Dword size) override;
  Dword getWindowsDirectory(char* buffer, Dword size) override;
  bool copyFile(const char* existing, const char* target, bool failIfExists) override;
  bool deleteFile(const char* path) override;
  bool createDirectory(const char* path) override;
  int compareStrings(const char* first, const char* second) override;
  Handle createFile(const char* path, Dword access, Dword shareMode, Dword creation,
                    Dword flags) override;
  bool getFileTime(Handle file, FileTime* creation, FileTime* lastAccess,
                   FileTime* lastWrite) override;
  bool closeHandle(Handle handle) override;
  Dword setFilePointer(Handle file, Long distance, Dword method) override;
  bool writeFile(Handle file, const void* data, Dword size, Dword* written) override;
  void getLocalTime(SystemTime& time) override;
  HGlobal globalAlloc(Dword flags, std::size_t bytes) override;
  void* globalLock(HGlobal memory) override;
  bool globalUnlock(HGlobal memory) override;
  HGlobal globalHandle(const void* locked) override;
  HGlobal globalFree(HGlobal memory) override;
  Dword getLastError() override;
  Dword formatMessage(Dword flags, const void* source, Dword messageId, Dword languageId,
                      char** text) override;
  void localFree(void* memory) override;
  void sleep(Dword milliseconds) override;
  Handle getCurrentProcess() override;
  Dword getModuleFileName(char* buffer, Dword size) override;
  bool setCurrentDirectory(const char* path) override;
  Dword getFileAttributes(const char* path) override;
  bool setFileAttributes(const char* path, Dword attributes) override;
  bool removeDirectory(const char* path) override;
  Handle createMutex(const char* name) override;
  bool moveFileEx(const char* existing, const char* target, Dword flags) override;
  bool moveFile(const char* existing, const char* target) override;
  bool flushFileBuffers(Handle file) override;
  Dword getShortPathName(const char* path, char* buffer, Dword size) override;
  Dword getPrivateProfileSection(const char* section, char* buffer, Dword size,
                                 const char* file) override;
  bool writePrivateProfileSection(const char* section, const char* lines,
                                  const char* file) override;

  // ---- FileVersion
  Dword getFileVersionInfoSize(const char* path, Dword* handle) override;
  bool getFileVersionInfo(const char* path, Dword handle, Dword size, void* data) override;
  bool verQueryValue(const void* block, const char* subBlock, void** value,
                     unsigned* length) override;

  // ---- Registry
  Long regOpenKeyEx(HKey root, const char* subKey, Dword options, Dword access,
                    HKey* result) override;
  Long regDeleteKey(HKey root, const char* subKey) override;
  Long regCreateKey(HKey root, const char* subKey, HKey* result) override;
  Long regSetValueEx(HKey key, const char* valueName, Dword reserved, Dword type,
                     const std::uint8_t* data, Dword size) override;
  Long regCloseKey(HKey key) override;
  Long regQueryValueEx(HKey key, const char* valueName, Dword* type, std::uint8_t* data,
                       Dword* size) override;

  // ---- Security
  bool openProcessToken(Handle process, Dword access, Handle* token) override;
  bool lookupPrivilegeValue(const char* systemName, const char* name, Luid* luid) override;
  bool adjustTokenPrivileges(Handle token, bool disableAll, const TokenPrivileges* state,
                             Dword bufferLength, TokenPrivileges* previous,
                             Dword* returnLength) override;

  // ---- Spooler
  bool enumPrinterDrivers(const char* server, const char* environment, Dword level,
                          std::uint8_t* buffer, Dword bufferSize, Dword* needed,
                          Dword* returned) override;
  bool getPrinterDriverDirectory(const char* server, const char* environment, Dword level,
                                 std::uint8_t* buffer, Dword bufferSize, Dword* needed) override;
  bool getPrintProcessorDirectory(const char* server, const char* environment, Dword level,
                                  std::uint8_t* buffer, Dword bufferSize, Dword* needed) override;
  bool addMonitor(const char* server, Dword level, const MonitorInfo2* info) override;
  bool addPrintProcessor(const char* server, const char* environment, const char* pathName,
                         const char* processorName) override;
  bool addPrinterDriver(const char* server, Dword level, const DriverInfo3* info) override;
  PrinterHandle addPrinter(const char* server, Dword level, const PrinterInfo2* info) override;
  bool openPrinter(const char* name, PrinterHandle* handle,
                   const PrinterDefaults* defaults) override;
  bool closePrinter(PrinterHandle handle) override;
  bool enumPrinters(Dword flags, const char* name, Dword level, std::uint8_t* buffer,
                    Dword bufferSize, Dword* needed, Dword* returned) override;
  bool enumMonitors(const char* server, Dword level, std::uint8_t* buffer, Dword bufferSize,
                    Dword* needed, Dword* returned) override;
  bool enumPrintProcessors(const char* server, const char* environment, Dword level,
                           std::uint8_t* buffer, Dword bufferSize, Dword* needed,
                           Dword* returned) override;
  bool enumPorts(const char* server, Dword level, std::uint8_t* buffer, Dword bufferSize,
                 Dword* needed, Dword* returned) override;
  bool setPrinter(PrinterHandle handle, Dword level, std::uint8_t* info, Dword command) override;
  bool deletePrinter(PrinterHandle handle) override;
  bool deletePrinterDriver(const char* server, const char* environment,
                           const char* driverName) override;
  bool deletePrintProcessor(const char* server, const char* environment,
                            const char* processorName) override;
  bool deleteMonitor(const char* server, const char* environment, const char* monitorName) override;

  // ---- UserInterface
  int messageBox(WindowHandle owner, const char* text, const char* caption, unsigned type) override;
  int appMessageBox(const char* text, unsigned type, unsigned helpContext) override;
  void refreshMainWindow() override;
  bool exitWindowsEx(unsigned flags, Dword reserved) override;
  bool disableWindowsGhosting() override;

  // ---- ProgressControl (range 0..100, step 11 as the window sets them)
  std::intptr_t sendMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

  // ---- OptionDialogRunner
  DialogResult runModal(OsTypeDialog& dialog) override;
  DialogResult runModal(PortTypeDialog& dialog) override;

  struct State;  // the machine, for the files that implement it

 private:
  std::unique_ptr<State> state_;
  Platform platform_;
};

}  // namespace qlx::fake
