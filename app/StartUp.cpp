#include "app/StartUp.h"

#include <string>

#include "app/ExitCodes.h"
#include "app/ProgramInfo.h"

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

}  // namespace qlx
