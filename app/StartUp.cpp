#include "app/StartUp.h"

#include <string>

#include "app/ProgramInfo.h"
#include "app/SingleInstance.h"
#include "engine/ExitCodes.h"
#include "engine/InstallTexts.h"

namespace qlx {
namespace {

constexpr unsigned kMbIconInformation = 0x40;

void writeHeader(InstallLog& log, Kernel& kernel, std::string_view commandLine) {
  SystemTime now{};
  kernel.getLocalTime(now);
  log.write("");
  log.write(join({"==== ", kProgramName, " ", kProgramVersion, " ===="}));
  log.write(join({"Started: ", formatDateTime(now)}));
  log.write(join({"Command line: ", commandLine}));
}

}  // namespace

StartDecision startProgram(const ParsedCommandLine& parsed, std::string_view commandLine,
                           Kernel& kernel, UserInterface& ui, InstallLog& log) {
  const InstallOptions& options = parsed.options;
  const bool attended = !isUnattended(options);

  Dword logError = kErrorSuccess;
  if (!options.logFile.empty()) {
    logError = log.open(options.logFile);
    if (logError == kErrorSuccess) writeHeader(log, kernel, commandLine);
  }

  if (!parsed.ok()) {
    log.write(join({"Bad command line: ", parsed.error}));
    log.write("Result: nothing installed, exit code 87");
    if (attended) {
      ui.appMessageBox(join({parsed.error, "\n\n", kUsageText}).c_str(), kMbOk | kMbIconWarning, 0);
    }
    return {false, kExitBadCommandLine};
  }

  if (logError != kErrorSuccess) {
    if (attended) {
      const std::string reason = log.systemText(logError);
      const std::string message =
          join({"The log file ", quoted(options.logFile), " cannot be opened (error ",
                std::to_string(logError), ").", reason.empty() ? "" : "\n\n", reason});
      ui.appMessageBox(message.c_str(), kMbOk | kMbIconWarning, 0);
    }
    return {false, kExitLogFailure};
  }

  if (options.usage) {
    log.write("Usage asked for: nothing installed, exit code 0");
    if (attended) ui.appMessageBox(kUsageText, kMbOk | kMbIconInformation, 0);
    return {false, kExitSuccess};
  }

  if (claimSingleInstance(kernel) == InstanceClaim::AnotherRunning) {
    log.write(join({text::kAlreadyRunning, " Nothing was changed, exit code ",
                    std::to_string(attended ? kExitFailure : kExitAlreadyRunning)}));
    if (attended) ui.appMessageBox(text::kAlreadyRunning, kMbOk | kMbIconWarning, 0);
    return {false, attended ? kExitFailure : kExitAlreadyRunning};
  }
  return {true, kExitSuccess};
}

int endWithoutInstalling(DialogResult result, const InstallOptions& options, InstallLog& log) {
  const bool attended = !isUnattended(options);
  const bool opened = result != DialogResult::Error;
  const int exitCode = opened ? (attended ? kExitSuccess : kExitCancelled)
                              : (attended ? kExitFailure : kExitInstallFailure);
  log.write(join({opened ? "Result: the window was closed before the installation started"
                         : "Result: the progress window cannot be opened",
                  ", exit code ", std::to_string(exitCode)}));
  return exitCode;
}

int stopBeforeInstalling(const std::string& problem, const InstallOptions& options,
                         UserInterface& ui, InstallLog& log) {
  const bool attended = !isUnattended(options);
  const int exitCode = attended ? kExitFailure : kExitInstallFailure;
  log.write(problem);
  log.write(join({"Result: nothing installed, exit code ", std::to_string(exitCode)}));
  if (attended) ui.appMessageBox(problem.c_str(), kMbOk | kMbIconWarning, 0);
  return exitCode;
}

}  // namespace qlx
