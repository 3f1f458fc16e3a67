// The one place every report of the engine goes through: the progress
// window (when there is one), its pacing pauses, the error boxes and the log.
// The install procedures never know which of them are there.

#include <string>

#include "engine/DirectoryBuffer.h"
#include "engine/FilePlacement.h"
#include "engine/InstallLog.h"
#include "engine/InstallTexts.h"
#include "engine/PrinterInstaller.h"

namespace qlx {
namespace {

constexpr Dword kStepPauseMs = 500;
constexpr int kBarStep = 11;  // as the window sets its bar
constexpr int kBarFull = 100;

// The formats carry one "%d"; the code goes in as signed decimal.
std::string withErrorCode(const char* format, Dword code) {
  std::string message = format;
  const auto at = message.find("%d");
  if (at != std::string::npos) {
    message.replace(at, 2, std::to_string(static_cast<std::int32_t>(code)));
  }
  return message;
}

std::string statusLine(const char* text, int barPosition) {
  return join({"Status: ", withoutLineEnd(text), " [", std::to_string(barPosition), "%]"});
}

}  // namespace

void PrinterInstaller::logLine(const std::string& line) {
  if (log != nullptr) log->write(line);
}

void PrinterInstaller::reportStep(const char* text) {
  if (statusText != nullptr) *statusText = text;
  if (progressBar != nullptr) progressBar->sendMessage(kPbmStepIt, 0, 0);
  if (statusText != nullptr || progressBar != nullptr) platform_.ui.refreshMainWindow();
  // Past its end the bar starts over, as the control does.
  loggedBarPosition_ += kBarStep;
  if (loggedBarPosition_ > kBarFull) loggedBarPosition_ = 0;
  logLine(statusLine(text, loggedBarPosition_));
  if (pauses) platform_.kernel.sleep(kStepPauseMs);
}

void PrinterInstaller::reportCompletion(Dword pauseMs) {
  if (statusText != nullptr) *statusText = text::kCompleted;
  if (progressBar != nullptr) progressBar->sendMessage(kPbmSetPos, kBarFull, 0);
  if (statusText != nullptr || progressBar != nullptr) platform_.ui.refreshMainWindow();
  loggedBarPosition_ = kBarFull;
  logLine(statusLine(text::kCompleted, loggedBarPosition_));
  if (pauses) platform_.kernel.sleep(pauseMs);
}

// Must be the first platform call after the failing one: it reads the code.
void PrinterInstaller::reportApiError(const char* format) {
  reportApiError(format, platform_.kernel.getLastError());
}

void PrinterInstaller::reportApiError(const char* format, Dword code) {
  showFailure({}, format, code);
}

void PrinterInstaller::showFailure(const std::string& call, const char* format, Dword code) {
  Kernel& kernel = platform_.kernel;
  std::string message = withErrorCode(format, code);

  const std::string system = systemMessageText(kernel, code);
  message += system;

  if (log != nullptr) {
    if (call.empty()) {
      log->write(withoutLineEnd(message));
    } else {
      log->writeFailure(call, code, withoutLineEnd(system));
    }
  }
  if (messageBoxes) platform_.ui.appMessageBox(message.c_str(), kMbOk, 0);
}

// The code and the system's text, then which file went where.
void PrinterInstaller::reportPlacementFailure(const Placement& placement) {
  if (!messageBoxes) return;  // the copy's own log line says it all
  const std::string message = join({withErrorCode(text::kCopyFileError, placement.error),
                                    systemMessageText(platform_.kernel, placement.error),
                                    placement.source, "\n-> ", placement.target});
  platform_.ui.appMessageBox(message.c_str(), kMbOk, 0);
}

void PrinterInstaller::reportProblem(const std::string& message) {
  logLine(message);
  if (messageBoxes) platform_.ui.appMessageBox(message.c_str(), kMbOk | kMbIconWarning, 0);
}

bool PrinterInstaller::spoolerResult(bool succeeded, const std::string& call,
                                     const char* errorFormat) {
  if (succeeded) {
    logLine(join({call, ": ok"}));
    return true;
  }
  const Dword code = platform_.kernel.getLastError();
  if (errorFormat != nullptr) {
    showFailure(call, errorFormat, code);
  } else if (log != nullptr) {
    log->writeFailure(call, code);
  }
  return false;
}

bool PrinterInstaller::additionResult(bool succeeded, const std::string& call,
                                      const char* errorFormat, Dword alreadyThere) {
  if (succeeded) return spoolerResult(true, call, errorFormat);
  const Dword code = platform_.kernel.getLastError();
  if (code == alreadyThere) {
    logLine(join({call, ": already there"}));
    return true;
  }
  if (errorFormat != nullptr) {
    showFailure(call, errorFormat, code);
  } else if (log != nullptr) {
    log->writeFailure(call, code);
  }
  return false;
}

bool PrinterInstaller::copyTargetResult(bool succeeded, const char* call,
                                        const DirectoryBuffer& directory) {
  if (succeeded) return directoryResult(true, call, directory);
  const Dword code = platform_.kernel.getLastError();
  // "GetPrinterDriverDirectoryA" is shown as the error formats name calls.
  std::string format(call);
  if (!format.empty() && format.back() == 'A') format.pop_back();
  format += " Error Code: %d\n\n";
  showFailure(call, format.c_str(), code);
  return false;
}

bool PrinterInstaller::directoryResult(bool succeeded, const char* call,
                                       const DirectoryBuffer& directory) {
  if (!succeeded) return spoolerResult(false, call, nullptr);
  logLine(join({call, ": ", directory.bytes}));
  return true;
}

}  // namespace qlx
