// USER32 and the window: message boxes, the main window, restart, the progress bar.

#include <algorithm>

#include "FakeErrors.h"
#include "FakeState.h"

namespace qlx::fake {
namespace {

using detail::arg::handle;
using detail::arg::number;
using detail::arg::text;

constexpr unsigned kMbTypeMask = 0xF;
constexpr unsigned kMbAbortRetryIgnore = 0x2;
constexpr unsigned kMbYesNoCancel = 0x3;
constexpr unsigned kMbRetryCancel = 0x5;
constexpr int kIdCancel = 2;
constexpr int kIdAbort = 3;
constexpr unsigned kPbmDeltaPos = 0x403;
constexpr unsigned kPbmGetPos = 0x408;

// What the user answers unless told otherwise: the first harmless button.
int defaultAnswer(unsigned type) {
  switch (type & kMbTypeMask) {
    case kMbYesNo:
    case kMbYesNoCancel:
      return kIdNo;
    case kMbAbortRetryIgnore:
      return kIdAbort;
    case kMbRetryCancel:
      return kIdCancel;
    default:
      return kIdOk;
  }
}

std::uint16_t lowWord(std::intptr_t value) { return static_cast<std::uint16_t>(value & 0xFFFF); }
std::uint16_t highWord(std::intptr_t value) {
  return static_cast<std::uint16_t>((value >> 16) & 0xFFFF);
}

}  // namespace

int FakePlatform::messageBox(WindowHandle owner, const char* text, const char* caption,
                             unsigned type) {
  State& s = *state_;
  s.log.record("MessageBoxA",
               {handle(owner), detail::arg::text(text), detail::arg::text(caption), number(type)});
  MessageBoxRecord box;
  box.owner = owner;
  box.text = text == nullptr ? "" : text;
  box.caption = caption == nullptr ? "Error" : caption;  // Windows' caption for none
  box.type = type;
  box.answer = s.answers.empty() ? defaultAnswer(type) : s.answers.front();
  if (!s.answers.empty()) s.answers.pop_front();
  s.messageBoxes.push_back(box);
  return box.answer;
}

int FakePlatform::appMessageBox(const char* text, unsigned type, unsigned helpContext) {
  State& s = *state_;
  s.log.record("AppMessageBox", {detail::arg::text(text), number(type), number(helpContext)});
  MessageBoxRecord box;
  box.applicationBox = true;
  box.text = text == nullptr ? "" : text;
  box.type = type;
  box.helpContext = helpContext;
  box.answer = s.answers.empty() ? defaultAnswer(type) : s.answers.front();
  if (!s.answers.empty()) s.answers.pop_front();
  s.messageBoxes.push_back(box);
  return box.answer;
}

void FakePlatform::refreshMainWindow() {
  State& s = *state_;
  s.log.record("RefreshMainWindow", {});
  s.refreshes.push_back(Refresh{statusString, s.bar.position, s.clockMs});
}

bool FakePlatform::exitWindowsEx(unsigned flags, Dword reserved) {
  State& s = *state_;
  if (auto error = s.log.recordFailable("ExitWindowsEx", {number(flags), number(reserved)})) {
    return s.fail(*error);
  }
  if (s.exitRefused) return s.fail(kErrorPrivilegeNotHeld);
  s.restartRequested = true;
  return true;
}

std::intptr_t FakePlatform::sendMessage(unsigned message, std::uintptr_t wParam,
                                        std::intptr_t lParam) {
  State& s = *state_;
  s.log.record("SendMessageA", {number(message), number(wParam), number(lParam)});
  State::ProgressBar& bar = s.bar;
  const int previous = bar.position;
  const auto clamp = [&bar](int position) {
    return bar.low <= bar.high ? std::clamp(position, bar.low, bar.high) : position;
  };
  switch (message) {
    case kPbmSetRange: {
      const auto oldRange = static_cast<std::intptr_t>(
          (static_cast<std::uint32_t>(bar.high & 0xFFFF) << 16) |
          static_cast<std::uint32_t>(bar.low & 0xFFFF));  // MAKELONG(low, high)
      bar.low = lowWord(lParam);
      bar.high = highWord(lParam);
      bar.position = clamp(bar.position);
      return oldRange;
    }
    case kPbmSetPos:
      bar.position = clamp(static_cast<int>(wParam));
      return previous;
    case kPbmDeltaPos:
      bar.position = clamp(bar.position + static_cast<int>(wParam));
      return previous;
    case kPbmSetStep: {
      const int oldStep = bar.step;
      bar.step = static_cast<int>(wParam);
      return oldStep;
    }
    case kPbmStepIt:
      // Past the end the bar starts over from the beginning.
      bar.position += bar.step;
      if (bar.position > bar.high) bar.position = bar.low;
      if (bar.position < bar.low) bar.position = bar.high;
      return previous;
    case kPbmGetPos:
      return previous;
    default:
      return 0;
  }
}

}  // namespace qlx::fake
