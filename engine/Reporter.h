#pragma once

#include <optional>
#include <string>

#include "engine/RunSettings.h"
#include "platform/Platform.h"

namespace qlx {

class InstallLog;
struct DirectoryBuffer;
struct Placement;

// The progress window's status line and bar, where there is a window.
struct ProgressView {
  std::string* statusText = nullptr;
  ProgressControl* progressBar = nullptr;
};

// The one place every report of a procedure goes through: the progress
// window (when there is one), its pacing pauses, the error boxes and the log.
// The procedures never know which of them are there. It keeps the bar's
// position as the window shows it, so that the log shows it too.
class Reporter {
 public:
  Reporter(Platform& platform, const RunSettings& settings, ProgressView view = {});

  // One phase: status line, one bar step, refresh, pause.
  void reportStep(const char* text);
  // "Completed!", the full bar and the closing pause.
  void reportCompletion(Dword pauseMs);
  // A failed call's box and log line, for the code read right after it.
  void reportApiError(const char* format, Dword code) { failure({}, format, code); }
  // The failure of `call` with `code`, read right after the call: the box
  // with `format` and the system's text, and the log line naming the call
  // (the box's first line where `call` is empty).
  void failure(const std::string& call, const char* format, Dword code);
  // A failure that is not one call's: the text as it stands, in a box with
  // the warning icon, and in the log.
  void problem(const std::string& message);
  // A copy that failed: its code and text, then which file went where.
  void placementFailure(const Placement& placement);
  void line(const std::string& text);
  // A logged failure that is not shown.
  void quietFailure(const std::string& what, Dword code);

  // Every spooler call goes through one of these right after it returns: the
  // log gets its result, and a failure is shown with `errorFormat` (not shown
  // when null). True when the call succeeded. `alreadyDone` is a code that
  // means the call's work was done by an earlier run: then no failure.
  bool result(bool succeeded, const std::string& call, const char* errorFormat,
              std::optional<Dword> alreadyDone = std::nullopt);
  // A directory query, logged with the directory it gave; a directory files
  // are copied into (`copyTarget`) has its failure shown.
  bool directory(bool succeeded, const char* call, const DirectoryBuffer& directory,
                 bool copyTarget = false);

  InstallLog* log() const { return settings_.log; }
  bool messageBoxes() const { return settings_.messageBoxes; }

 private:
  Platform& platform_;
  const RunSettings& settings_;
  ProgressView view_;
  int barPosition_ = 0;  // the bar as the window shows it, also without a window
};

}  // namespace qlx
