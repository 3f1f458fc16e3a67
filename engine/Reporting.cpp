#include <cstring>
#include <string>

#include "engine/InstallTexts.h"
#include "engine/PrinterInstaller.h"

namespace qlx {
namespace {

constexpr Dword kStepPauseMs = 500;

// The formats carry one "%d"; the code goes in as signed decimal.
std::string withErrorCode(const char* format, Dword code) {
  std::string message = format;
  const auto at = message.find("%d");
  if (at != std::string::npos) {
    message.replace(at, 2, std::to_string(static_cast<std::int32_t>(code)));
  }
  return message;
}

}  // namespace

void PrinterInstaller::reportStep(const char* text) {
  if (statusText != nullptr) *statusText = text;
  if (progressBar != nullptr) progressBar->sendMessage(kPbmStepIt, 0, 0);
  if (statusText != nullptr || progressBar != nullptr) platform_.ui.refreshMainWindow();
  platform_.kernel.sleep(kStepPauseMs);
}

void PrinterInstaller::reportCompletion(Dword pauseMs) {
  if (statusText != nullptr) *statusText = text::kCompleted;
  if (progressBar != nullptr) progressBar->sendMessage(kPbmSetPos, 100, 0);
  if (statusText != nullptr || progressBar != nullptr) platform_.ui.refreshMainWindow();
  platform_.kernel.sleep(pauseMs);
}

// Must be the first platform call after the failing one: it reads the code.
void PrinterInstaller::reportApiError(const char* format) {
  Kernel& kernel = platform_.kernel;
  const Dword code = kernel.getLastError();
  std::string message = withErrorCode(format, code);

  char* systemText = nullptr;
  const Dword length = kernel.formatMessage(kFormatMessageAllocateFromSystem, nullptr, code,
                                            kLanguageEnglishUs, &systemText);
  if (systemText != nullptr) {
    // Never past the terminator, whatever length was reported.
    if (length != 0) message.append(systemText, strnlen(systemText, length));
    kernel.localFree(systemText);
  }
  platform_.ui.appMessageBox(message.c_str(), kMbOk, 0);
}

}  // namespace qlx
