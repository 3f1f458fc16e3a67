#pragma once

#include <string>

#include "engine/OsKind.h"
#include "platform/Platform.h"

namespace qlx {

// How an install procedure ended: a fatal spooler failure stops it right after
// its error box (or its log line), and the flow then ends the process with a
// failure status.
enum class InstallResult { Completed, FatalError };

// What happens at the end of a fresh installation: the user is asked, or the
// answer is given beforehand.
enum class RestartChoice { Ask, Never, Force };

// The Windows version as GetVersionExA reported it to detectOsKind.
struct ReportedVersion {
  bool known = false;
  Dword platformId = 0, major = 0, minor = 0, build = 0;
};

struct FamilySettings;
struct DirectoryBuffer;
class InstallLog;

// The installation engine: the names of every component and the procedures
// that put them into the print spooler.
class PrinterInstaller {
 public:
  explicit PrinterInstaller(Platform& platform = systemPlatform());
  virtual ~PrinterInstaller();
  PrinterInstaller(const PrinterInstaller&) = delete;
  PrinterInstaller& operator=(const PrinterInstaller&) = delete;

  OsKind detectOsKind();
  void configureModel(const std::string& model, char letter, bool withPrintProcessor);

  InstallResult installWin2000Family(PortCode port);
  InstallResult installWinNtFamily(PortCode port);
  InstallResult installWin9x(PortCode port);

  void registerUninstall();
  bool restartComputer();

  Dword getFileVersion(const char* path, Dword* parts, int slotCount);
  int isNewerByVersion(const char* installedPath, const char* sourcePath);
  int isNewerByDate(const char* installedPath, const char* sourcePath);

  void reportStep(const char* text);
  void reportCompletion(Dword pauseMs);
  void reportApiError(const char* format);

  // Names formed from the members where the procedures use them.
  std::string iniFileName() const;
  std::string gpdFileName() const;
  std::string numberedPrinterName(int number) const;

  static constexpr OverwriteMode kDefaultOverwriteMode = kOverwriteNever;
  OverwriteMode overwriteMode = kDefaultOverwriteMode;
  std::string monitorFile = "QLMON";
  std::string monitorName = "DALVERA Language Monitor QLX";
  std::string processorFile = "QLPRO";
  std::string processorName = "DALVERA PRINT PROCESSOR QLX";
  std::string printerName = "DALVERA QLX-";
  std::string driverFile = "QLX";
  std::string uiFile = "QLUI";
  bool hasPrintProcessor = true;
  std::string* statusText = nullptr;       // the progress window's status line
  ProgressControl* progressBar = nullptr;  // the progress window's bar

  // Where the reports go besides the window. The pauses only pace what the
  // window shows; boxes need someone to close them.
  bool pauses = true;
  bool messageBoxes = true;
  InstallLog* log = nullptr;
  RestartChoice restartChoice = RestartChoice::Ask;

  // What the last run found and did.
  ReportedVersion reportedVersion;
  bool freshInstallation = false;  // the driver was absent and the printer was created
  bool restartRequested = false;

 private:
  using ComponentStep = InstallResult (PrinterInstaller::*)(DirectoryBuffer&);
  using CleanUpStep = void (PrinterInstaller::*)(DirectoryBuffer&);

  enum class DriverCheck { Present, Absent, Failed };

  InstallResult runInstallFrame(const FamilySettings& family, PortCode port,
                                ComponentStep installComponents, CleanUpStep cleanUp);
  DriverCheck checkDriver(const FamilySettings& family);
  std::string chooseFreePrinterName();
  bool createPrinter(const FamilySettings& family, const std::string& name, PortCode port);
  void offerRestart(const FamilySettings& family);
  bool requestRestart(const FamilySettings& family);

  // Every spooler call goes through here right after it returns: the log
  // gets its result, and a failure is shown with `errorFormat` (not shown
  // when null). True when the call succeeded.
  bool spoolerResult(bool succeeded, const std::string& call, const char* errorFormat);
  void logLine(const std::string& line);
  // A directory query of the spooler, logged with the directory it gave.
  bool directoryResult(bool succeeded, const char* call, const DirectoryBuffer& directory);

  // Steps the three component installations share.
  void stageMonitorAndProcessor(const char* sourceFolder, DirectoryBuffer& directory,
                                const char* companionMonitorFile);
  void registerMonitor(const char* environment);
  void registerPrintProcessor(const char* environment);

  InstallResult installWin2000Components(DirectoryBuffer& directory);
  void cleanUpWin2000Staging(DirectoryBuffer& directory);
  InstallResult installWinNtComponents(DirectoryBuffer& directory);
  void cleanUpWinNtStaging(DirectoryBuffer& directory);
  InstallResult installWin9xComponents(DirectoryBuffer& directory);
  void copyUniversalDriverFiles(const DirectoryBuffer& driverDirectory);

  Platform& platform_;
  int loggedBarPosition_ = 0;   // the bar as the window shows it, also without a window
  std::string failedCall_;      // the call whose failure reportApiError shows
  std::string lastComparison_;  // what the last file comparison compared, for the log
};

}  // namespace qlx
