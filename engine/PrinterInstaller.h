#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/InstallationContents.h"
#include "engine/InstallationSurvey.h"
#include "engine/OsKind.h"
#include "engine/Removal.h"
#include "platform/Platform.h"

namespace qlx {

// How an install procedure ended: a fatal failure stops it right after its
// error box (or its log line), and the flow then ends the process with a
// failure status. Incomplete: it ran to its end, but a file it had to place
// could not be placed, which the user has been shown.
enum class InstallResult { Completed, Incomplete, FatalError };

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
class FileStaging;
class InstallLog;
struct CopyResult;

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

  // What an installation places on a platform, and what of it is there now.
  InstallationContents contentsFor(OsKind kind) const;
  InstallationSurvey surveyInstallation(OsKind kind);

  // The ports the spooler lists (EnumPortsA); nothing when it cannot.
  std::optional<std::vector<std::string>> listPorts();

  // Removal: first what is there (nothing changed), then away with it.
  RemovalPlan planRemoval(OsKind kind);
  RemovalOutcome removeInstallation(OsKind kind, const RemovalPlan& plan);

  void registerUninstall();
  bool restartComputer();

  Dword getFileVersion(const char* path, Dword* parts, int slotCount);
  int isNewerByVersion(const char* installedPath, const char* sourcePath);
  int isNewerByDate(const char* installedPath, const char* sourcePath);

  void reportStep(const char* text);
  void reportCompletion(Dword pauseMs);
  void reportApiError(const char* format);
  // The same for a code read earlier, right after the failing call.
  void reportApiError(const char* format, Dword code);
  // A failure that is not one spooler call's: the text as it stands, in the
  // application's box with the warning icon, and in the log.
  void reportProblem(const std::string& message);

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
  // A port the spooler lists beyond the six of the port dialog ("USB001"):
  // the printer is created on it instead of on the port code's.
  std::string otherPortName;

  // Where the reports go besides the window. The pauses only pace what the
  // window shows; boxes need someone to close them.
  bool pauses = true;
  bool messageBoxes = true;
  InstallLog* log = nullptr;
  RestartChoice restartChoice = RestartChoice::Ask;

  // What the last run found and did.
  ReportedVersion reportedVersion;
  bool freshInstallation = false;  // the installation was made or completed
  bool restartRequested = false;

 private:
  using ComponentStep = InstallResult (PrinterInstaller::*)(DirectoryBuffer&);

  InstallResult runInstallFrame(const FamilySettings& family, InstallationContents contents,
                                PortCode port, ComponentStep installComponents);
  // The driver list, logged; false (with the error shown) when it cannot be read.
  bool findDriver(Dword level, InstallationSurvey& survey);
  // Monitors, print processor, uninstall entry and its files.
  void surveyComponents(const InstallationContents& contents, InstallationSurvey& survey);
  // The printers that use the driver; nothing when the spooler cannot list them.
  std::optional<std::vector<std::string>> printersUsingDriver();
  // Every file the installation will read must be in the package before
  // anything is changed; false (with the missing files shown) otherwise.
  bool checkPackage(const InstallationContents& contents);
  // The first of the plain and the numbered names that no printer has;
  // nothing (with the reason shown) when the spooler cannot tell or every
  // name is taken.
  std::optional<std::string> chooseFreePrinterName();
  bool createPrinter(const FamilySettings& family, const std::string& name, PortCode port);
  void offerRestart(const FamilySettings& family);
  bool requestRestart(const FamilySettings& family);

  // Every spooler call goes through here right after it returns: the log
  // gets its result, and a failure is shown with `errorFormat` (not shown
  // when null). True when the call succeeded.
  bool spoolerResult(bool succeeded, const std::string& call, const char* errorFormat);
  // A call that adds what an earlier run may have added already: the code
  // `alreadyThere` is then no failure, only a log line.
  bool additionResult(bool succeeded, const std::string& call, const char* errorFormat,
                      Dword alreadyThere);
  void logLine(const std::string& line);
  // A directory query of the spooler, logged with the directory it gave.
  bool directoryResult(bool succeeded, const char* call, const DirectoryBuffer& directory);
  // The same for a directory files are copied into: its failure is shown
  // and leaves the installation incomplete.
  bool copyTargetResult(bool succeeded, const char* call, const DirectoryBuffer& directory);

  // Steps the three component installations share, reading the contents.
  void stageMonitorAndProcessor(DirectoryBuffer& directory);
  bool libraryInUse(const std::string& name) const;
  void copyDriverFiles(DirectoryBuffer& directory);
  void registerMonitors();
  void registerPrintProcessor();
  bool addPrinterDriver(const DriverInfo3& driver);
  void cleanUpStaging(DirectoryBuffer& directory);
  // One package file to its target; a failure is shown and leaves the
  // installation incomplete.
  void copyPackageFile(FileStaging& staging, const DirectoryBuffer& directory,
                       const std::string& name, bool failIfExists = false,
                       const std::string& reason = {});
  void reportCopyFailure(const CopyResult& result);

  enum class FileRemoval { Gone, AtRestart, Failed };
  bool removePrinter(const std::string& name);
  FileRemoval removeFile(const std::string& path, bool windows9x);
  bool removeUninstallEntry();
  // A call that removes what may be gone already: `notThere` is then no
  // failure, only a log line.
  bool removalResult(bool succeeded, const std::string& call, const char* errorFormat,
                     Dword notThere) {
    return additionResult(succeeded, call, errorFormat, notThere);
  }

  InstallationContents win2000Contents() const;
  InstallationContents winNtContents() const;
  InstallationContents win9xContents() const;
  InstallResult installWin2000Components(DirectoryBuffer& directory);
  InstallResult installWinNtComponents(DirectoryBuffer& directory);
  InstallResult installWin9xComponents(DirectoryBuffer& directory);
  void copyUniversalDriverFiles(const DirectoryBuffer& driverDirectory);

  Platform& platform_;
  // The run in progress: what it places and what it found.
  InstallationContents contents_;
  InstallationSurvey survey_;
  bool incomplete_ = false;     // a file could not be placed
  int loggedBarPosition_ = 0;   // the bar as the window shows it, also without a window
  std::string failedCall_;      // the call whose failure reportApiError shows
  std::string lastComparison_;  // what the last file comparison compared, for the log
};

}  // namespace qlx
