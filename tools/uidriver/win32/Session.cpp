#include "win32/Session.h"

#include "core/Answers.h"
#include "win32/Arrangement.h"
#include "win32/Controls.h"
#include "win32/Dialogs.h"
#include "win32/TopWindows.h"

namespace uidriver {
namespace {

// How often the windows are looked at.
constexpr DWORD kPollMs = 10;
// A box shown before its text is set is taken as it is after this long.
constexpr long long kBoxSettleMs = 1000;

std::wstring fullPath(const std::wstring& path) {
  std::wstring full(MAX_PATH * 4, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), DWORD(full.size()), full.data(), nullptr);
  if (length == 0 || length >= full.size()) return path;
  full.resize(length);
  return full;
}

std::string currentDirectory() {
  std::wstring directory(MAX_PATH * 4, L'\0');
  DWORD length = GetCurrentDirectoryW(DWORD(directory.size()), directory.data());
  directory.resize(length < directory.size() ? length : 0);
  return wideToUtf8(directory);
}

}  // namespace

Session::Session(const Script& script, std::vector<std::string> arguments, LogFile& log)
    : script_(script), arguments_(std::move(arguments)), recorder_(log) {}

int Session::run() {
  if (!start()) return finish("not started", std::nullopt);
  for (;;) {
    poll();
    DWORD code = 0;
    if (installer_.exited(code)) {
      recorder_.write(recorder_.line("exit").number("code", code));
      if (!script_.endAtStatus.empty() && !ended_) {
        problems_.push_back("the installer ended before it showed \"" + script_.endAtStatus + "\"");
        recorder_.write(recorder_.line("error").text("message", problems_.back()));
      }
      return finish(problems_.empty() ? "ok" : "answer failed", code);
    }
    if (recorder_.now() > script_.timeoutMs) {
      recorder_.write(recorder_.line("timeout").number("limitMs", script_.timeoutMs));
      installer_.terminate();
      return finish("timeout", std::nullopt);
    }
    Sleep(kPollMs);
  }
}

bool Session::start() {
  std::string directory = script_.directory.empty() ? currentDirectory() : script_.directory;
  std::wstring wideDirectory = fullPath(utf8ToWide(directory));
  std::wstring installer = fullPath(utf8ToWide(installerPath(script_, wideToUtf8(wideDirectory))));
  recorder_.write(recorder_.line("start")
                      .text("installer", wideToUtf8(installer))
                      .text("dir", wideToUtf8(wideDirectory))
                      .texts("arguments", arguments_));
  for (std::string& problem : arrangePrefix(script_, recorder_)) problems_.push_back(problem);
  if (!problems_.empty()) return false;
  DWORD error = 0;
  launchMs_ = recorder_.now();
  std::wstring line = utf8ToWide(commandLine(wideToUtf8(installer), script_.installerArguments));
  if (!installer_.start(installer, line, wideDirectory, error)) {
    problems_.push_back("CreateProcess failed with " + std::to_string(error));
    recorder_.write(
        recorder_.line("error").text("message", problems_.back()).number("code", error));
    return false;
  }
  recorder_.write(recorder_.line("started").number("pid", installer_.pid()));
  positions_.emplace(installer_.process());
  return true;
}

void Session::poll() {
  std::vector<TopWindow> current = topWindowsOf(installer_.pid());
  // Windows that went away or were hidden.
  for (auto it = windows_.begin(); it != windows_.end();) {
    bool shown = false;
    for (const TopWindow& window : current) shown |= window.hwnd == it->first && window.visible;
    if (shown) {
      ++it;
      continue;
    }
    recorder_.write(recorder_.line("closed")
                        .text("kind", kindName(it->second.kind))
                        .text("caption", it->second.caption));
    if (it->first == progress_) progress_ = nullptr;
    it = windows_.erase(it);
  }
  for (const TopWindow& window : current) {
    if (!window.visible || windows_.count(window.hwnd)) continue;
    WindowKind kind = classifyWindow(window.className, window.caption);
    RECT rect = {};
    GetWindowRect(window.hwnd, &rect);
    recorder_.write(
        recorder_.line("window")
            .text("kind", kindName(kind))
            .text("caption", window.caption)
            .text("class", window.className)
            .numbers("rect", {int(rect.left), int(rect.top), int(rect.right), int(rect.bottom)}));
    windows_[window.hwnd] = {kind, window.caption, recorder_.now(), false};
  }
  followProgress();
  for (auto& [hwnd, window] : windows_)
    if (!window.handled) handle(hwnd, window);
}

void Session::handle(HWND hwnd, Tracked& window) {
  switch (window.kind) {
    case WindowKind::Progress:
      if (!progressWindowMs_) progressWindowMs_ = window.seenMs;
      progress_ = hwnd;
      window.handled = true;
      followProgress();
      return;
    case WindowKind::OsDialog:
    case WindowKind::PortDialog:
    case WindowKind::MessageBox:
      break;
    case WindowKind::Other:
      window.handled = true;
      return;
  }
  if (window.kind == WindowKind::MessageBox && !boxReady(hwnd) &&
      recorder_.now() - window.seenMs < kBoxSettleMs)
    return;
  // Looked at again at the next poll, until the gate's file is there.
  if (!script_.gateFile.empty() &&
      GetFileAttributesW(utf8ToWide(script_.gateFile).c_str()) == INVALID_FILE_ATTRIBUTES)
    return;
  window.handled = true;
  if (!firstDialogMs_) firstDialogMs_ = window.seenMs;
  if (window.kind != WindowKind::MessageBox) recordOptionDialog(recorder_, window.kind, hwnd);
  if (script_.watchOnly) {
    // The user answers; a box is recorded as it stands.
    if (window.kind == WindowKind::MessageBox) recordBox(recorder_, hwnd, window.caption);
    return;
  }
  if (script_.holdMs) Sleep(script_.holdMs);
  std::string problem =
      window.kind == WindowKind::MessageBox
          ? recordAndAnswerBox(recorder_, hwnd, window.caption, script_)
          : answerOptionDialog(recorder_, window.kind, hwnd,
                               window.kind == WindowKind::OsDialog ? script_.os : script_.port);
  if (!problem.empty()) {
    problems_.push_back(std::string(kindName(window.kind)) + ": " + problem);
    recorder_.write(recorder_.line("error").text("message", problems_.back()));
  }
}

void Session::followProgress() {
  if (!progress_ || !positions_) return;
  std::string status = windowText(GetDlgItem(progress_, kStatusId));
  std::optional<int> position = positions_->read(GetDlgItem(progress_, kProgressBarId));
  auto sample = std::make_pair(status, position);
  if (lastProgress_ == sample) return;
  lastProgress_ = sample;
  auto line = recorder_.line("progress");
  line.text("status", status);
  if (position)
    line.number("position", *position);
  else
    line.null("position");
  recorder_.write(line);
  if (!ended_ && endsAt(script_, status)) {
    // At once, before the installer's next step: it pauses after each status.
    installer_.terminate();
    ended_ = true;
    recorder_.write(recorder_.line("ended").text("status", status));
  }
}

int Session::finish(const std::string& result, std::optional<DWORD> exitCode) {
  auto line = recorder_.line("summary");
  line.text("result", result);
  if (exitCode)
    line.number("exitCode", *exitCode);
  else
    line.null("exitCode");
  // Both measured from the moment the installer was started.
  if (firstDialogMs_)
    line.number("firstDialogMs", *firstDialogMs_ - launchMs_);
  else
    line.null("firstDialogMs");
  if (progressWindowMs_)
    line.number("progressWindowMs", *progressWindowMs_ - launchMs_);
  else
    line.null("progressWindowMs");
  line.texts("problems", problems_);
  recorder_.write(line);
  if (result == "ok") return kRan;
  if (result == "timeout") return kTimedOut;
  if (result == "answer failed") return kAnswerFailed;
  return kNoStart;
}

}  // namespace uidriver
