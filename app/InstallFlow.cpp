#include "app/InstallFlow.h"

#include <string>

#include "app/CommandLine.h"
#include "engine/Families.h"
#include "engine/InstallLog.h"
#include "engine/InstallSteps.h"
#include "engine/InstallTexts.h"
#include "engine/Installation.h"
#include "engine/InstallationSurvey.h"
#include "engine/MachineChecks.h"
#include "engine/ModelNames.h"
#include "engine/Names.h"
#include "engine/OsDetection.h"
#include "engine/Removal.h"
#include "engine/RestartSchedule.h"
#include "engine/RunRecord.h"
#include "engine/Update.h"

namespace qlx {
namespace {

constexpr int kPortCount = 6;
constexpr unsigned kMbIconInformation = 0x40;

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

  void header(const DetectedOs& os, const InstallOptions& options, RestartChoice restart) {
    if (log_ == nullptr) return;
    const ReportedVersion& v = os.version;
    const OsKind kind = os.kind;
    const std::string osKind = std::to_string(kind);
    if (v.known) {
      // Windows 9x keeps major and minor in the build number's high word.
      const bool win9xBuild = v.platformId == kVerPlatformWin32Windows;
      write(join({"Windows: platform ", std::to_string(v.platformId), ", version ",
                  std::to_string(v.major), ".", std::to_string(v.minor), ", build ",
                  std::to_string(win9xBuild ? v.build & 0xFFFF : v.build), win9xBuild ? " (" : "",
                  win9xBuild ? std::to_string(v.build) : "", win9xBuild ? " as reported)" : "",
                  " -> OsKind ", osKind, " (", windowsName(kind, v), ")"}));
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

// What every procedure of one run works with.
struct Run {
  Platform& platform;
  Reporter& reporter;
  const RunSettings& settings;
  const FamilySettings& family;
  const InstallationContents& contents;
};

// Refuses, before anything changes, a machine the driver cannot be installed
// on: a Windows it does not know, 64-bit Windows, a user who may not
// administer the print server. The exit code, or nothing to go on.
std::optional<int> refusal(Platform& machine, Reporter& reporter, OsKind osKind, UserInterface& ui,
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
      reporter.reportApiError(text::kIsWow64Error, wow64.error);
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
// made on it as the spooler spells it. Why the port cannot be taken, or
// nothing when the ports cannot be listed (shown).
struct PortCheck {
  bool listed = false;
  std::string port;     // as the spooler spells it
  std::string problem;  // empty when the port is there
};
PortCheck checkOtherPort(Platform& platform, Reporter& reporter, const std::string& wanted) {
  PortCheck check;
  const std::optional<std::vector<std::string>> ports = listPorts(platform, reporter);
  if (!ports) return check;
  check.listed = true;
  std::string known;
  for (const std::string& port : *ports) {
    if (sameName(portKey(port), portKey(wanted))) {
      check.port = port;
      return check;
    }
    known += join({known.empty() ? "" : ", ", port});
  }
  check.problem = join({"\"/port:", wanted, "\": this computer has no port ", wanted,
                        "; its ports are ", known, "."});
  return check;
}

// Complete, with no file of the package newer and a printer that uses the
// driver: nothing for /once to do. A printer list that cannot be read stops
// the run (shown): nobody could tell whether a printer would be added twice.
enum class Settled { Yes, No, Unknown };
Settled settled(const Run& run, FlowLog& flowLog) {
  RestartSchedule schedule(run.platform.kernel, run.platform.registry, run.contents.windows9x(),
                           run.reporter.log());
  clearLeftovers(run.platform, run.reporter, run.contents, false, schedule);
  const InstallationSurvey survey =
      surveyInstallation(run.platform, run.reporter, run.family, run.contents);
  if (!survey.driverListed || !survey.complete()) return Settled::No;
  if (planUpdate(run.platform, run.reporter, run.contents, survey).any()) return Settled::No;
  const std::optional<std::vector<std::string>> printers =
      printersUsingDriver(run.platform, run.reporter, run.contents.driver.name);
  if (!printers) return Settled::Unknown;
  if (printers->empty()) {
    flowLog.write("No printer uses the driver: /once adds one");
    return Settled::No;
  }
  clearLeftovers(run.platform, run.reporter, run.contents, true, schedule);
  // A run cut short had nothing left to do: its record goes.
  clearRunUnderWay(run.platform, run.reporter);
  return Settled::Yes;
}

std::string removalQuestion(const std::vector<std::string>& printers) {
  std::string question = text::kRemoveQuestion;
  question += printers.empty() ? text::kNoPrinters : text::kRemovePrintersList;
  for (const std::string& name : printers) question += join({"\n", name});
  return question;
}

int runRemoval(const Run& run, UserInterface& ui, const InstallOptions& options, FlowLog& flowLog) {
  const bool attended = !isUnattended(options);
  const int failure = attended ? kExitFailure : kExitInstallFailure;
  const RemovalPlan plan = planRemoval(run.platform, run.reporter, run.family, run.contents);
  if (!plan.survey.driverListed || !plan.printersListed) {
    return flowLog.outcome("failed, nothing removed", failure);
  }
  if (plan.nothing()) {
    // A removal cut short after its last change: its record goes too.
    clearRunUnderWay(run.platform, run.reporter);
    flowLog.write(text::kNotInstalled);
    if (attended) ui.appMessageBox(text::kNotInstalled, kMbOk | kMbIconInformation, 0);
    return flowLog.outcome("nothing to remove", attended ? kExitSuccess : kExitUnknownProduct);
  }
  if (attended) {
    const int answer = ui.messageBox(0, removalQuestion(plan.printers).c_str(),
                                     text::kRestartCaption, kMbYesNo | kMbIconQuestion);
    if (answer != kIdYes) return flowLog.outcome("removal declined, nothing changed", kExitSuccess);
  }
  const RemovalResult removal =
      removeInstallation(run.platform, run.reporter, run.settings, run.family, plan);
  switch (removal.outcome) {
    case RemovalOutcome::Removed:
      return flowLog.outcome("removed", kExitSuccess);
    case RemovalOutcome::RestartNeeded:
      if (attended) return flowLog.outcome("removed, a restart completes it", kExitSuccess);
      if (removal.restartRequested) {
        return flowLog.outcome("removed, restarting", kExitRestartStarted);
      }
      return flowLog.outcome("removed, a restart completes it", kExitRestartRequired);
    case RemovalOutcome::Incomplete:
      break;
  }
  return flowLog.outcome("something could not be removed", failure);
}

}  // namespace

int runInstallFlow(Platform& platform, ProgressView view, OsTypeDialog& osTypeDialog,
                   PortTypeDialog& portTypeDialog, OptionDialogRunner& dialogs, UserInterface& ui,
                   const InstallOptions& options, InstallLog* log) {
  const bool attended = !isUnattended(options);
  // Nobody closes a box in the unattended modes, and without a window the
  // pauses would only slow the installation down.
  RunSettings settings;
  settings.log = log;
  settings.messageBoxes = attended;
  settings.pauses = options.mode != RunMode::Quiet;
  settings.restart = options.restart;
  if (!attended && options.restart == RestartChoice::Ask) settings.restart = RestartChoice::Never;
  Reporter reporter(platform, settings, view);
  FlowLog flowLog(log);

  const DetectedOs os = detectOsKind(platform);
  const OsKind osKind = os.kind;
  flowLog.header(os, options, settings.restart);
  const FamilySettings* family = familyFor(osKind);

  // Removal and the repeatable run look at the machine first: no dialog is
  // needed for either answer.
  if (options.uninstall || options.once) {
    const std::optional<int> refused =
        refusal(platform, reporter, osKind, ui, attended, "nothing changed", flowLog);
    if (refused) return *refused;
  }
  const ModelNames names = productNames(isWindows9x(osKind));
  const InstallationContents contents =
      family != nullptr ? family->contents(names) : InstallationContents{};
  const auto run = [&](const FamilySettings& runFamily) {
    return Run{platform, reporter, settings, runFamily, contents};
  };
  if (options.uninstall) return runRemoval(run(*family), ui, options, flowLog);
  // /once keeps one complete, current installation with a printer in place.
  const Settled onceSettled = options.once ? settled(run(*family), flowLog) : Settled::No;
  if (onceSettled == Settled::Unknown) {
    return flowLog.outcome("the printers cannot be listed, nothing changed",
                           attended ? kExitFailure : kExitInstallFailure);
  }
  if (onceSettled == Settled::Yes) {
    flowLog.write(join({text::kAlreadyInstalled, " Nothing was changed (/once)."}));
    if (attended) ui.appMessageBox(text::kAlreadyInstalled, kMbOk | kMbIconInformation, 0);
    return flowLog.outcome("already installed", kExitSuccess);
  }
  if (!options.otherPort.empty()) {
    const PortCheck check = checkOtherPort(platform, reporter, options.otherPort);
    if (!check.listed) {
      return flowLog.outcome("the ports cannot be listed, nothing installed",
                             attended ? kExitFailure : kExitInstallFailure);
    }
    if (!check.problem.empty()) {
      flowLog.write(join({"Bad command line: ", check.problem}));
      return flowLog.outcome("nothing installed", kExitBadCommandLine);
    }
    settings.otherPort = check.port;
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

  if (!options.uninstall && !options.once) {
    const std::optional<int> refused =
        refusal(platform, reporter, osKind, ui, attended, "not installed", flowLog);
    if (refused) return *refused;
  }
  if (portIndex < 0 || portIndex >= kPortCount) {
    return flowLog.outcome("no port chosen, nothing installed", kExitSuccess);
  }
  settings.port = kPortCom1 + portIndex;
  // The policy is the user's say over the shared files of Windows 9x alone.
  if (isWindows9x(osKind)) settings.overwrite = overwrite;

  const InstallOutcome outcome = runInstallation(platform, reporter, settings, *family, contents);
  if (outcome.result == InstallResult::FatalError) {
    return flowLog.outcome("failed", attended ? kExitFailure : kExitInstallFailure);
  }
  // Not plain success: a file, a registration or the uninstall entry could
  // not be placed; the next run completes it.
  if (outcome.result == InstallResult::Incomplete) {
    return flowLog.outcome(
        "incomplete, a file, a registration or the uninstall entry could not be placed",
        attended ? kExitFailure : kExitInstallFailure);
  }
  if (outcome.updated) {
    if (attended || !outcome.restartNeeded) return flowLog.outcome("updated", kExitSuccess);
    if (outcome.restartRequested) {
      return flowLog.outcome("updated, restarting", kExitRestartStarted);
    }
    return flowLog.outcome("updated, a restart completes it", kExitRestartRequired);
  }
  if (!outcome.freshInstallation) return flowLog.outcome("printer added", kExitSuccess);
  if (attended) return flowLog.outcome("installed", kExitSuccess);
  if (outcome.restartRequested) {
    return flowLog.outcome("installed, restarting", kExitRestartStarted);
  }
  return flowLog.outcome("installed, a restart is needed", kExitRestartRequired);
}

}  // namespace qlx
