#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/InstallationContents.h"
#include "engine/InstallationSurvey.h"
#include "engine/OsKind.h"
#include "engine/Removal.h"
#include "engine/UpdatePlan.h"
#include "platform/Platform.h"

namespace qlx {

// How an install procedure ended: a fatal failure stops it right after its
// error box (or its log line), and the flow then ends the process with a
// failure status. Incomplete: it ran to its end, but something it had to
// place could not be placed, which the user has been shown.
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
struct Placement;
class InstallLog;
class RestartSchedule;

// The installation engine: the names of every component and the procedures
// of the driver's life on a machine: the installation (fresh, completing
// one a failed run left, one more printer, or the update from a newer
// package), and the removal. Each procedure takes what it works on as
// values; the members below only configure and report.
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
  // The package's files against the installed ones; nothing is changed.
  UpdatePlan planUpdate(const InstallationContents& contents, const InstallationSurvey& survey);
  // What runs cut short left beside the installed files goes; nothing else
  // changes.
  void clearLeftovers(OsKind kind);
  // The printers that use the driver; nothing when the spooler cannot list
  // them (`error` then says why).
  std::optional<std::vector<std::string>> printersUsingDriver(Dword* error = nullptr);
  // The ports the spooler lists (EnumPortsA); nothing, the failure shown,
  // when it cannot.
  std::optional<std::vector<std::string>> listPorts();

  // Removal: first what is there (nothing changed), then away with it.
  RemovalPlan planRemoval(OsKind kind);
  RemovalOutcome removeInstallation(const RemovalPlan& plan);

  // The uninstall entry and the uninstaller's files; false, the failure
  // shown, when either is not complete.
  bool registerUninstall();
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

  // The machine it works on, for the flow's own questions to it.
  Platform& platform() const { return platform_; }

  // What the last procedure found and did.
  ReportedVersion reportedVersion;
  bool freshInstallation = false;  // the installation was made or completed
  bool updated = false;            // a complete installation was updated from a newer package
  bool restartNeeded = false;      // what was done is complete when Windows starts again
  bool restartRequested = false;

 private:
  InstallResult runInstallFrame(const FamilySettings& family, const InstallationContents& contents,
                                PortCode port);
  // The monitors, print processor and driver, from the package the contents name.
  InstallResult installComponents(const FamilySettings& family,
                                  const InstallationContents& contents,
                                  const InstallationSurvey& survey, RestartSchedule& schedule,
                                  DirectoryBuffer& directory);
  // The update: in its own file, readable top to bottom.
  InstallResult updateInstallation(const FamilySettings& family,
                                   const InstallationContents& contents, const UpdatePlan& plan);
  bool placeDriverUpdate(const InstallationContents& contents, const UpdatePlan& plan,
                         RestartSchedule& schedule, DirectoryBuffer& directory);

  // The driver list, logged; false (with the error shown) when it cannot be read.
  bool findDriver(Dword level, InstallationSurvey& survey);
  // Monitors, print processor, uninstall entry and its files.
  void surveyComponents(const InstallationContents& contents, InstallationSurvey& survey);
  bool uninstallEntryComplete(bool* keyThere = nullptr);
  // Every file the installation will read must be in the package before
  // anything is changed; false (with the missing files shown) otherwise.
  bool checkPackage(const InstallationContents& contents);
  // What an interrupted run left beside the installed files, and, once the
  // installation is complete, its staged files.
  void clearLeftovers(const InstallationContents& contents, bool complete,
                      RestartSchedule& schedule);
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
  // A call that removes what may be gone already: `notThere` is then no
  // failure, only a log line.
  bool removalResult(bool succeeded, const std::string& call, const char* errorFormat,
                     Dword notThere) {
    return additionResult(succeeded, call, errorFormat, notThere);
  }
  // The failure of `call` with `code`: the box with `format` and the system's
  // text, and the log line naming the call.
  void showFailure(const std::string& call, const char* format, Dword code);
  void logLine(const std::string& line);
  // A directory query of the spooler, logged with the directory it gave.
  bool directoryResult(bool succeeded, const char* call, const DirectoryBuffer& directory);
  // The same for a directory files are copied into: its failure is shown.
  bool copyTargetResult(bool succeeded, const char* call, const DirectoryBuffer& directory);

  // Steps the three component installations share, reading the contents;
  // false when a file could not be placed (shown).
  bool stageMonitorAndProcessor(const InstallationContents& contents,
                                const InstallationSurvey& survey, RestartSchedule& schedule,
                                DirectoryBuffer& directory);
  bool copyDriverFiles(const InstallationContents& contents, RestartSchedule& schedule,
                       DirectoryBuffer& directory);
  // `helpFirst`: a run cut short between the two leaves unidrv.dll to be
  // judged again, with its help following it.
  bool copyUniversalDriverFiles(RestartSchedule& schedule, const DirectoryBuffer& driverDirectory,
                                bool helpFirst = false);
  void registerMonitors(const InstallationContents& contents);
  void registerPrintProcessor(const InstallationContents& contents);
  bool addPrinterDriver(const InstallationContents& contents);
  void cleanUpStaging(const InstallationContents& contents, const DirectoryBuffer& directory);
  // One file to its target; a failure is shown.
  Placement placeShown(RestartSchedule& schedule, const std::string& source,
                       const std::string& target, bool keepExisting = false,
                       const std::string& reason = {});
  void reportPlacementFailure(const Placement& placement);
  // The uninstall entry alone, and the uninstaller's files (`plan`: only
  // those newer in the package).
  bool writeUninstallEntry();
  bool placeUninstallerFiles(RestartSchedule& schedule, const UpdatePlan* plan = nullptr);

  // The comparisons behind the overwrite policy and the update.
  struct Comparison {
    bool newer = false;
    std::string description;  // for the log
  };
  Comparison compareByVersion(const char* installedPath, const char* sourcePath);
  Comparison compareByDate(const char* installedPath, const char* sourcePath);
  std::optional<std::uint64_t> readFileVersion(const char* path);
  FileStamp fileStamp(const std::string& path);

  enum class FileRemoval { Gone, AtRestart, Failed };
  bool removePrinter(const std::string& name);
  FileRemoval removeFile(RestartSchedule& schedule, const std::string& path);
  bool removeUninstallerFiles(RestartSchedule& schedule);
  bool removeUninstallKey();

  // What every family places first: the language monitor(s) in the system
  // directory, the print processor in its own; then the driver's files and
  // the uninstaller's.
  InstallationContents monitorAndProcessor(const char* sourceFolder, const char* environment,
                                           bool withUsbMonitor) const;
  static void addDriverFiles(InstallationContents& contents,
                             std::initializer_list<std::pair<std::string, Ownership>> files);
  static void addUninstallerFiles(InstallationContents& contents);
  InstallationContents win2000Contents() const;
  InstallationContents winNtContents() const;
  InstallationContents win9xContents() const;

  Platform& platform_;
  int loggedBarPosition_ = 0;  // the bar as the window shows it, also without a window
};

}  // namespace qlx
