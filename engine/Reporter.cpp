#include "engine/Reporter.h"

#include <cstdint>

#include "engine/DirectoryBuffer.h"
#include "engine/FilePlacement.h"
#include "engine/InstallLog.h"
#include "engine/InstallTexts.h"

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

Reporter::Reporter(Platform& platform, const RunSettings& settings, ProgressView view)
    : platform_(platform), settings_(settings), view_(view) {}

void Reporter::line(const std::string& text) {
  if (settings_.log != nullptr) settings_.log->write(text);
}

void Reporter::quietFailure(const std::string& what, Dword code) {
  if (settings_.log != nullptr) settings_.log->writeFailure(what, code);
}

void Reporter::reportStep(const char* text) {
  if (view_.statusText != nullptr) *view_.statusText = text;
  if (view_.progressBar != nullptr) view_.progressBar->sendMessage(kPbmStepIt, 0, 0);
  if (view_.statusText != nullptr || view_.progressBar != nullptr) {
    platform_.ui.refreshMainWindow();
  }
  // Past its end the bar starts over, as the control does.
  barPosition_ += kBarStep;
  if (barPosition_ > kBarFull) barPosition_ = 0;
  line(statusLine(text, barPosition_));
  if (settings_.pauses) platform_.kernel.sleep(kStepPauseMs);
}

void Reporter::reportCompletion(Dword pauseMs) {
  if (view_.statusText != nullptr) *view_.statusText = text::kCompleted;
  if (view_.progressBar != nullptr) view_.progressBar->sendMessage(kPbmSetPos, kBarFull, 0);
  if (view_.statusText != nullptr || view_.progressBar != nullptr) {
    platform_.ui.refreshMainWindow();
  }
  barPosition_ = kBarFull;
  line(statusLine(text::kCompleted, barPosition_));
  if (settings_.pauses) platform_.kernel.sleep(pauseMs);
}

void Reporter::failure(const std::string& call, const char* format, Dword code) {
  std::string message = withErrorCode(format, code);
  const std::string system = systemMessageText(platform_.kernel, code);
  message += system;
  if (settings_.log != nullptr) {
    if (call.empty()) {
      settings_.log->write(withoutLineEnd(message));
    } else {
      settings_.log->writeFailure(call, code, withoutLineEnd(system));
    }
  }
  if (settings_.messageBoxes) platform_.ui.appMessageBox(message.c_str(), kMbOk, 0);
}

void Reporter::placementFailure(const Placement& placement) {
  if (!settings_.messageBoxes) return;  // the copy's own log line says it all
  const std::string message = join({withErrorCode(text::kCopyFileError, placement.error),
                                    systemMessageText(platform_.kernel, placement.error),
                                    placement.source, "\n-> ", placement.target});
  platform_.ui.appMessageBox(message.c_str(), kMbOk, 0);
}

void Reporter::problem(const std::string& message) {
  line(message);
  if (settings_.messageBoxes) {
    platform_.ui.appMessageBox(message.c_str(), kMbOk | kMbIconWarning, 0);
  }
}

bool Reporter::result(bool succeeded, const std::string& call, const char* errorFormat,
                      std::optional<Dword> alreadyDone) {
  if (succeeded) {
    line(join({call, ": ok"}));
    return true;
  }
  const Dword code = platform_.kernel.getLastError();
  if (alreadyDone && code == *alreadyDone) {
    line(join({call, ": already there"}));
    return true;
  }
  if (errorFormat != nullptr) {
    failure(call, errorFormat, code);
  } else {
    quietFailure(call, code);
  }
  return false;
}

bool Reporter::directory(bool succeeded, const char* call, const DirectoryBuffer& directory,
                         bool copyTarget) {
  if (succeeded) {
    line(join({call, ": ", directory.bytes}));
    return true;
  }
  if (!copyTarget) return result(false, call, nullptr);
  const Dword code = platform_.kernel.getLastError();
  // "GetPrinterDriverDirectoryA" is shown as the error formats name calls.
  std::string format(call);
  if (!format.empty() && format.back() == 'A') format.pop_back();
  format += " Error Code: %d\n\n";
  failure(call, format.c_str(), code);
  return false;
}

}  // namespace qlx
