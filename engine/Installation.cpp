// The installation: what a run finds decides what it does. A complete
// installation gets one more printer (or the update, in its own file); one
// that is missing or partial gets the family's components, then the
// printer, the clean-up of staged files, the uninstall entry and the
// restart question.

#include "engine/Installation.h"

#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/DirectoryBuffer.h"
#include "engine/Families.h"
#include "engine/InstallLog.h"
#include "engine/InstallSteps.h"
#include "engine/InstallTexts.h"
#include "engine/InstallationSurvey.h"
#include "engine/PackageCheck.h"
#include "engine/Reporter.h"
#include "engine/Restart.h"
#include "engine/RestartSchedule.h"
#include "engine/RunRecord.h"
#include "engine/UninstallRegistration.h"
#include "engine/Update.h"

namespace qlx {
namespace {

const char* portName(PortCode port) {
  static constexpr const char* kNames[] = {"COM1:", "COM2:", "COM3:", "COM4:", "LPT1:", "LPT2:"};
  const int index = port - kPortCom1;
  if (index < 0 || index >= static_cast<int>(std::size(kNames))) return nullptr;
  return kNames[index];
}

std::string orNull(const char* text) { return text == nullptr ? "null" : quoted(text); }

// Windows 9x's print providers answer a name none of them knows with
// ERROR_INVALID_NAME, which the router may hand on as it is.
bool isNoSuchPrinter(Dword error) {
  return error == kErrorInvalidPrinterName || error == kErrorInvalidName;
}

// Far beyond any till, and still a bound: a spooler that answers "exists" to
// every name must not keep the installation probing for ever.
constexpr int kHighestPrinterNumber = 999;

std::string numberedPrinterName(const std::string& name, int number) {
  return join({name, "(#", std::to_string(number), ")"});
}

// Every family the same way: the libraries where the spooler loads them,
// their registrations, then the driver's files and the driver.
InstallResult installComponents(Platform& platform, Reporter& reporter, const RunSettings& settings,
                                const FamilySettings& family, const InstallationContents& contents,
                                const InstallationSurvey& survey, RestartSchedule& schedule,
                                DirectoryBuffer& directory) {
  bool placed = stageMonitorAndProcessor(platform, reporter, contents, survey, schedule, directory);

  // A registration the spooler refuses leaves the installation incomplete,
  // and the next run completes it; the rest goes on as far as it can.
  placed = registerMonitors(platform, reporter, contents) && placed;
  placed = registerPrintProcessor(platform, reporter, contents) && placed;

  reporter.reportStep(text::kCopyFiles);
  placed = copyDriverFiles(platform, reporter, contents, schedule, directory) && placed;
  if (contents.windows9x()) {
    placed =
        copyUniversalDriverFiles(platform, reporter, settings.overwrite, schedule, directory) &&
        placed;
  }

  reporter.reportStep(text::kInstallDriver);
  if (!addPrinterDriver(platform, reporter, contents)) {
    if (family.driverFailureIsFatal) return InstallResult::FatalError;
    placed = false;
  }
  return placed ? InstallResult::Completed : InstallResult::Incomplete;
}

// The first of "name", "name(#1)", "name(#2)", ... that no printer has, so a
// gap in the numbering is filled. Only "no such printer" means a name is
// free: a spooler that cannot answer must not lead to a printer replaced.
std::optional<std::string> chooseFreePrinterName(Platform& platform, Reporter& reporter,
                                                 const std::string& printerName) {
  Spooler& spooler = platform.spooler;
  std::string candidate = printerName;
  for (int number = 1; number <= kHighestPrinterNumber + 1; ++number) {
    PrinterHandle printer = 0;
    const bool opened = spooler.openPrinter(candidate.c_str(), &printer, nullptr);
    const Dword error = opened ? kErrorSuccess : platform.kernel.getLastError();
    if (!opened && isNoSuchPrinter(error)) {
      reporter.line(
          join({"OpenPrinterA(", quoted(candidate), "): no such printer, the name is free"}));
      return candidate;
    }
    if (!opened) {
      reporter.failure(join({"OpenPrinterA(", quoted(candidate), ")"}), text::kOpenPrinterError,
                       error);
      return std::nullopt;
    }
    reporter.line(join({"OpenPrinterA(", quoted(candidate), "): exists"}));
    spooler.closePrinter(printer);
    candidate = numberedPrinterName(printerName, number);
  }
  reporter.problem(join({text::kNoFreePrinterName, " (", quoted(printerName), " to ",
                         quoted(numberedPrinterName(printerName, kHighestPrinterNumber)), ")"}));
  return std::nullopt;
}

bool createPrinter(Platform& platform, Reporter& reporter, const RunSettings& settings,
                   const FamilySettings& family, const InstallationContents& contents,
                   const std::string& name) {
  reporter.reportStep(text::kInstallPrinter);

  const std::string& driverName = contents.driver.name;
  const bool withProcessor = !contents.processorName.empty();
  PrinterInfo2 info{};
  info.pPrinterName = name.c_str();
  info.pPortName =
      settings.otherPort.empty() ? portName(settings.port) : settings.otherPort.c_str();
  info.pDriverName = driverName.c_str();
  info.pPrintProcessor = withProcessor ? contents.processorName.c_str() : "WinPrint";
  info.pDatatype = "RAW";
  info.Attributes =
      withProcessor ? family.attributesWithProcessor : family.attributesWithoutProcessor;
  info.Priority = family.priority;
  info.DefaultPriority = family.defaultPriority;
  info.Status = family.status;

  const PrinterHandle printer = platform.spooler.addPrinter(nullptr, 2, &info);
  if (!reporter.result(
          printer != 0,
          join({"AddPrinterA(", quoted(name), ", port ", orNull(info.pPortName), ", driver ",
                quoted(driverName), ", processor ", quoted(info.pPrintProcessor), ")"}),
          text::kAddPrinterError)) {
    return false;
  }
  platform.spooler.closePrinter(printer);
  return true;
}

// `cutShort`: an installation or update was under way when the machine
// stopped; its work is completed, and a printer is added only where the
// driver has none.
InstallOutcome install(Platform& platform, Reporter& reporter, const RunSettings& settings,
                       const FamilySettings& family, const InstallationContents& contents,
                       bool cutShort) {
  InstallOutcome outcome;
  RestartSchedule schedule(platform.kernel, platform.registry, contents.windows9x(),
                           reporter.log());

  // An older copy a cut left aside takes its name back before anything else.
  clearLeftovers(platform, reporter, contents, false, schedule);
  const InstallationSurvey survey = surveyInstallation(platform, reporter, family, contents);
  if (!survey.driverListed) return outcome;
  // What a failed run left is completed, not taken for an installation; it
  // may have left printers of the driver, and one is enough.
  const bool complete = survey.complete();
  std::vector<std::string> printers;
  if (survey.driver && (!complete || cutShort)) {
    std::optional<std::vector<std::string>> listed =
        printersUsingDriver(platform, reporter, contents.driver.name);
    if (!listed) return outcome;
    printers = std::move(*listed);
  }
  if (complete) {
    clearLeftovers(platform, reporter, contents, true, schedule);
    const UpdatePlan plan = planUpdate(platform, reporter, contents, survey);
    if (plan.any()) return updateInstallation(platform, reporter, settings, family, contents, plan);
    reporter.line(!printers.empty() ? "The installation is complete; the run before was cut short"
                                    : "The installation is complete: adding a printer");
  } else if (survey.driver) {
    reporter.line("The installation is not complete: completing it");
  } else {
    reporter.line("Fresh installation");
  }
  // Nothing may change before every file the installation needs is known
  // to be there.
  if (!complete && !checkPackage(platform, reporter, contents)) return outcome;

  reporter.reportStep(text::kAddPrinter);

  DirectoryBuffer directory;  // shared with the clean-up, which may reuse its last path
  outcome.result = InstallResult::Completed;
  if (!complete) {
    outcome.result = installComponents(platform, reporter, settings, family, contents, survey,
                                       schedule, directory);
    if (outcome.result == InstallResult::FatalError) return outcome;
  }

  if (printers.empty()) {
    const std::optional<std::string> name =
        chooseFreePrinterName(platform, reporter, contents.driver.name);
    if (!name || !createPrinter(platform, reporter, settings, family, contents, *name)) {
      outcome.result = InstallResult::FatalError;
      return outcome;
    }
  } else {
    reporter.reportStep(text::kInstallPrinter);
    reporter.line(
        join({"Printer ", quoted(printers.front()), " uses the driver already: no printer added"}));
  }

  if (!complete) {
    outcome.freshInstallation = true;
    if (!contents.stagedFiles.empty()) {
      reporter.reportStep(text::kDeleteInstalledFiles);
      if (family.cleanUpQueriesDirectory) {
        reporter.directory(queryDirectory(platform, Place::PrinterDriverDirectory, directory),
                           "GetPrinterDriverDirectoryA", directory);
      }
      cleanUpStaging(platform, reporter, contents, directory);
    }
    // Without its entry or its files the installation is not complete: the
    // next run completes it.
    const bool entry = writeUninstallEntry(platform, reporter);
    if (!placeUninstallerFiles(platform, reporter, schedule) || !entry) {
      outcome.result = InstallResult::Incomplete;
    }
    outcome.restartNeeded = true;
    outcome.restartRequested = offerRestart(platform, reporter, settings.restart, family);
  }

  reporter.reportCompletion(family.completionPauseMs);
  return outcome;
}

}  // namespace

InstallOutcome runInstallation(Platform& platform, Reporter& reporter, const RunSettings& settings,
                               const FamilySettings& family, const InstallationContents& contents) {
  reporter.reportStep(family.checkText);
  const bool cutShort = runUnderWay(platform) == RunUnderWay::Installation;
  if (cutShort) reporter.line("A run cut short was under way: completing its work");
  if (!recordRunUnderWay(platform, reporter, RunUnderWay::Installation)) return {};
  const InstallOutcome outcome = install(platform, reporter, settings, family, contents, cutShort);
  clearRunUnderWay(platform, reporter);
  return outcome;
}

}  // namespace qlx
