#include "app/InstallFlow.h"

#include <string>

#include "app/CommandLine.h"
#include "engine/InstallLog.h"
#include "engine/InstallTexts.h"
#include "engine/MachineChecks.h"
#include "engine/SameName.h"

namespace qlx {
namespace {

constexpr int kPortCount = 6;
constexpr unsigned kMbIconInformation = 0x40;

// The later versions share one platform code; the log names the one that runs.
const char* laterWindowsName(const ReportedVersion& v) {
  if (v.major == 6) {
    static constexpr const char* kSix[] = {"Windows Vista", "Windows 7", "Windows 8",
                                           "Windows 8.1"};
    return v.minor < 4 ? kSix[v.minor] : "Windows";
  }
  return v.build >= 22000 ? "Windows 11" : "Windows 10";
}

const char* platformName(OsKind kind, const ReportedVersion& v) {
  static constexpr const char* kNames[] = {"Windows 95",         "Windows 98",   "Windows ME",
                                           "Windows NT 4.0",     "Windows 2000", "Windows XP",
                                           "Windows Server 2003"};
  if (kind == kWindowsVistaOrLater) return laterWindowsName(v);
  const int index = kind - kWindows95;
  return index >= 0 && index < 7 ? kNames[index] : "not supported";
}

const char* modeName(RunMode mode) {
  switch (mode) {
    case RunMode::Interactive:
      return "interactive";
    case RunMode::Passive:
      return "passive (progress window, no dialogs or messages)";
    case RunMode::Quiet:
      return "quiet (no window, no pauses)";
  }
  return "?";
}

const char* restartName(RestartChoice choice) {
  switch (choice) {
    case RestartChoice::Ask:
      return "ask";
    case RestartChoice::Never:
      return "never";
    case RestartChoice::Force:
      return "force";
  }
  return "?";
}

// The flow's own lines; the engine writes the rest.
class FlowLog {
 public:
  explicit FlowLog(InstallLog* log) : log_(log) {}

  void write(const std::string& line) {
    if (log_ != nullptr) log_->write(line);
  }

  void header(const PrinterInstaller& installer, OsKind kind, const InstallOptions& options,
              RestartChoice restart) {
    if (log_ == nullptr) return;
    const ReportedVersion& v = installer.reportedVersion;
    const std::string osKind = std::to_string(kind);
    if (v.known) {
      // Windows 9x keeps major and minor in the build number's high word.
      const bool win9xBuild = v.platformId == kVerPlatformWin32Windows;
      write(join({"Windows: platform ", std::to_string(v.platformId), ", version ",
                  std::to_string(v.major), ".", std::to_string(v.minor), ", build ",
                  std::to_string(win9xBuild ? v.build & 0xFFFF : v.build), win9xBuild ? " (" : "",
                  win9xBuild ? std::to_string(v.build) : "", win9xBuild ? " as reported)" : "",
                  " -> OsKind ", osKind, " (", platformName(kind, v), ")"}));
    } else {
      write(join({"Windows: the version query failed -> OsKind ", osKind, " (not supported)"}));
    }
    write(join({"Mode: ", modeName(options.mode), options.uninstall ? ", removal" : "",
                options.once ? ", once" : ""}));
    const auto given = [](bool isGiven) { return isGiven ? "" : " (default)"; };
    const bool otherPort = !options.otherPort.empty();
    write(join({"Options: port ",
                otherPort ? options.otherPort.c_str()
                          : portOptionName(options.portIndex.value_or(kDefaultPortIndex)),
                given(otherPort || options.portIndex.has_value()), ", overwrite ",
                overwriteOptionName(options.overwrite.value_or(kDefaultOverwrite)),
                given(options.overwrite.has_value()), ", restart ", restartName(restart),
                given(options.restart != RestartChoice::Ask), ", log ", quoted(options.logFile)}));
  }

  int outcome(const char* what, int exitCode) {
    write(join({"Result: ", what, ", exit code ", std::to_string(exitCode)}));
    return exitCode;
  }

 private:
  InstallLog* log_;
};

}  // namespace

namespace {

bool isSupported(OsKind kind) { return kind >= kWindows95 && kind <= kWindowsVistaOrLater; }

// Refuses, before anything changes, a machine the driver cannot be installed
// on: a Windows it does not know, 64-bit Windows, a user who may not
// administer the print server. The exit code, or nothing to go on.
std::optional<int> refusal(PrinterInstaller& installer, OsKind osKind, UserInterface& ui,
                           bool attended, const char* nothingDone, FlowLog& flowLog) {
  const auto refuse = [&](const char* message, const char* why, int unattendedCode) {
    flowLog.write(message);
    if (attended) ui.appMessageBox(message, kMbOk | kMbIconWarning, 0);
    return flowLog.outcome(join({why, nothingDone}).c_str(),
                           attended ? kExitFailure : unattendedCode);
  };
  if (!isSupported(osKind)) {
    return refuse(text::kUnsupportedWindows, "not supported, ", kExitPlatformUnsupported);
  }
  Platform& machine = installer.platform();
  const Wow64Answer wow64 = askWow64(machine.kernel);
  switch (wow64.kind) {
    case Wow64Answer::Kind::ThirtyTwoBit:
      flowLog.write(wow64.queryMissing ? "Bits: 32 (this Windows predates 64-bit Windows)"
                                       : "Bits: 32 (not running under WOW64)");
      break;
    case Wow64Answer::Kind::SixtyFourBit:
      flowLog.write("Bits: 64 (this 32-bit program runs under WOW64)");
      return refuse(text::kNo64BitDriver, "64-bit Windows, ", kExitPlatformUnsupported);
    case Wow64Answer::Kind::Failed:
      // It may be 64-bit Windows: going on could leave a half installation.
      installer.reportApiError(text::kIsWow64Error, wow64.error);
      return flowLog.outcome(
          join({"cannot tell 32-bit from 64-bit Windows, ", nothingDone}).c_str(),
          attended ? kExitFailure : kExitInstallFailure);
  }
  // Windows 9x has no rights to ask for.
  if (isWindows9x(osKind)) return std::nullopt;
  const AdministerAnswer rights = askPrintServerRights(machine.spooler, machine.kernel);
  const std::string code = std::to_string(rights.error);
  switch (rights.kind) {
    case AdministerAnswer::Kind::Granted:
      flowLog.write("Rights: the print server may be administered");
      break;
    case AdministerAnswer::Kind::Refused:
      flowLog.write(join({"Rights: OpenPrinter of the print server for administering: error ", code,
                          " (access denied)"}));
      return refuse(text::kNeedsAdministrator, "no administrator rights, ", kExitInstallFailure);
    case AdministerAnswer::Kind::Unknown:
      // The spooler's own calls report what keeps it from answering.
      flowLog.write(join(
          {"Rights: the print server cannot be asked (OpenPrinter error ", code, "); going on"}));
      break;
  }
  return std::nullopt;
}

// Ports compare without case, with or without their trailing colon.
std::string_view portKey(std::string_view port) {
  if (port.size() > 1 && port.back() == ':') port.remove_suffix(1);
  return port;
}

// A port beyond the dialog's six must be one the spooler lists; the printer is
// made on it as the spooler spells it. Nothing when the ports cannot be
// listed (shown); otherwise empty, or why the port cannot be taken.
std::optional<std::string> checkOtherPort(PrinterInstaller& installer, const std::string& wanted) {
  const std::optional<std::vector<std::string>> ports = installer.listPorts();
  if (!ports) return std::nullopt;
  std::string known;
  for (const std::string& port : *ports) {
    if (sameName(portKey(port), portKey(wanted))) {
      installer.otherPortName = port;
      return std::string();
    }
    known += join({known.empty() ? "" : ", ", port});
  }
  return join({"\"/port:", wanted, "\": this computer has no port ", wanted, "; its ports are ",
               known, "."});
}

// Complete, with no file of the package newer and a printer that uses the
// driver: nothing for /once to do. A list that cannot be read counts as a
// printer there, so that none is added twice.
bool settled(PrinterInstaller& installer, OsKind kind, FlowLog& flowLog) {
  const InstallationSurvey survey = installer.surveyInstallation(kind);
  if (!survey.driverListed || !survey.complete()) return false;
  if (installer.planUpdate(installer.contentsFor(kind), survey).any()) return false;
  const std::optional<std::vector<std::string>> printers = installer.printersUsingDriver();
  if (printers && printers->empty()) {
    flowLog.write("No printer uses the driver: /once adds one");
    return false;
  }
  installer.clearLeftovers(kind);
  return true;
}

std::string removalQuestion(const std::vector<std::string>& printers) {
  std::string question = text::kRemoveQuestion;
  question += printers.empty() ? text::kNoPrinters : text::kRemovePrintersList;
  for (const std::string& name : printers) question += join({"\n", name});
  return question;
}

int runRemoval(PrinterInstaller& installer, OsKind osKind, UserInterface& ui,
               const InstallOptions& options, FlowLog& flowLog) {
  const bool attended = !isUnattended(options);
  const int failure = attended ? kExitFailure : kExitInstallFailure;
  const RemovalPlan plan = installer.planRemoval(osKind);
  if (!plan.survey.driverListed) return flowLog.outcome("failed, nothing removed", failure);
  if (plan.nothing()) {
    flowLog.write(text::kNotInstalled);
    if (attended) ui.appMessageBox(text::kNotInstalled, kMbOk | kMbIconInformation, 0);
    return flowLog.outcome("nothing to remove", attended ? kExitSuccess : kExitUnknownProduct);
  }
  if (attended) {
    const int answer = ui.messageBox(0, removalQuestion(plan.printers).c_str(),
                                     text::kRestartCaption, kMbYesNo | kMbIconQuestion);
    if (answer != kIdYes) return flowLog.outcome("removal declined, nothing changed", kExitSuccess);
  }
  switch (installer.removeInstallation(plan)) {
    case RemovalOutcome::Removed:
      return flowLog.outcome("removed", kExitSuccess);
    case RemovalOutcome::RestartNeeded:
      if (attended) return flowLog.outcome("removed, a restart completes it", kExitSuccess);
      if (installer.restartRequested) {
        return flowLog.outcome("removed, restarting", kExitRestartStarted);
      }
      return flowLog.outcome("removed, a restart completes it", kExitRestartRequired);
    case RemovalOutcome::Incomplete:
      break;
  }
  return flowLog.outcome("something could not be removed", failure);
}

}  // namespace

int runInstallFlow(PrinterInstaller& installer, OsTypeDialog& osTypeDialog,
                   PortTypeDialog& portTypeDialog, OptionDialogRunner& dialogs, UserInterface& ui,
                   const InstallOptions& options, InstallLog* log) {
  const bool attended = !isUnattended(options);
  // Nobody closes a box in the unattended modes, and without a window the
  // pauses would only slow the installation down.
  installer.log = log;
  installer.messageBoxes = attended;
  installer.pauses = options.mode != RunMode::Quiet;
  installer.restartChoice = options.restart;
  if (!attended && options.restart == RestartChoice::Ask) {
    installer.restartChoice = RestartChoice::Never;
  }
  FlowLog flowLog(log);

  const OsKind osKind = installer.detectOsKind();
  installer.configureModel("957", 'E', true);
  flowLog.header(installer, osKind, options, installer.restartChoice);

  // Removal and the repeatable run look at the machine first: no dialog is
  // needed for either answer.
  if (options.uninstall || options.once) {
    const std::optional<int> refused =
        refusal(installer, osKind, ui, attended, "nothing changed", flowLog);
    if (refused) return *refused;
  }
  if (options.uninstall) return runRemoval(installer, osKind, ui, options, flowLog);
  // /once keeps one complete, current installation with a printer in place.
  if (options.once && settled(installer, osKind, flowLog)) {
    flowLog.write(join({text::kAlreadyInstalled, " Nothing was changed (/once)."}));
    if (attended) ui.appMessageBox(text::kAlreadyInstalled, kMbOk | kMbIconInformation, 0);
    return flowLog.outcome("already installed", kExitSuccess);
  }
  if (!options.otherPort.empty()) {
    const std::optional<std::string> problem = checkOtherPort(installer, options.otherPort);
    if (!problem) {
      return flowLog.outcome("the ports cannot be listed, nothing installed",
                             attended ? kExitFailure : kExitInstallFailure);
    }
    if (!problem->empty()) {
      flowLog.write(join({"Bad command line: ", *problem}));
      return flowLog.outcome("nothing installed", kExitBadCommandLine);
    }
  }

  int portIndex = options.portIndex.value_or(kDefaultPortIndex);
  OverwriteMode overwrite = options.overwrite.value_or(kDefaultOverwrite);
  if (attended) {
    // Preselects the detected platform; the user's pick is never read back.
    osTypeDialog.osIndex = osKind - kWindows95;
    if (options.portIndex) portTypeDialog.portIndex = *options.portIndex;
    portTypeDialog.initialOverwriteIndex = overwrite;
    if (dialogs.runModal(osTypeDialog) != DialogResult::Ok ||
        dialogs.runModal(portTypeDialog) != DialogResult::Ok) {
      ui.appMessageBox(text::kInstallCancelled, kMbOk, 0);
      return flowLog.outcome("cancelled in a dialog, nothing installed", kExitSuccess);
    }
    portIndex = portTypeDialog.portIndex;
    overwrite = portTypeDialog.overwriteIndex;
    flowLog.write(join({"Chosen: port ", portOptionName(portIndex), ", overwrite ",
                        overwriteOptionName(overwrite)}));
  }

  const bool portChosen = portIndex >= 0 && portIndex < kPortCount;
  const PortCode port = kPortCom1 + portIndex;
  const bool win9x = isWindows9x(osKind);
  const bool ntFamily = osKind >= kWindowsNt4 && osKind <= kWindowsXp;
  if (!options.uninstall && !options.once) {
    const std::optional<int> refused =
        refusal(installer, osKind, ui, attended, "not installed", flowLog);
    if (refused) return *refused;
  }
  if (win9x) installer.overwriteMode = overwrite;
  if (!portChosen) return flowLog.outcome("no port chosen, nothing installed", kExitSuccess);

  InstallResult result;
  if (win9x) {
    result = installer.installWin9x(port);
  } else if (ntFamily) {
    result = installer.installWinNtFamily(port);
  } else {
    result = installer.installWin2000Family(port);
  }

  if (result == InstallResult::FatalError) {
    return flowLog.outcome("failed", attended ? kExitFailure : kExitInstallFailure);
  }
  // Not plain success: a file or the uninstall entry could not be placed;
  // the next run completes it.
  if (result == InstallResult::Incomplete) {
    return flowLog.outcome("incomplete, a file or the uninstall entry could not be placed",
                           attended ? kExitFailure : kExitInstallFailure);
  }
  if (installer.updated) {
    if (attended || !installer.restartNeeded) return flowLog.outcome("updated", kExitSuccess);
    if (installer.restartRequested)
      return flowLog.outcome("updated, restarting", kExitRestartStarted);
    return flowLog.outcome("updated, a restart completes it", kExitRestartRequired);
  }
  if (!installer.freshInstallation) return flowLog.outcome("printer added", kExitSuccess);
  if (attended) return flowLog.outcome("installed", kExitSuccess);
  if (installer.restartRequested) {
    return flowLog.outcome("installed, restarting", kExitRestartStarted);
  }
  return flowLog.outcome("installed, a restart is needed", kExitRestartRequired);
}

}  // namespace qlx
