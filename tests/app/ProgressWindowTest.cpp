#include <gtest/gtest.h>

#include <functional>

#include "app/ProgressWindow.h"
#include "tests/app/FakeDialogControls.h"

namespace qlx {
namespace {

using testing::FakeDialogControls;

// Window calls and bar messages in one log, in the order they happen.
struct Recorder final : ProgressWindowOps, ProgressControl {
  void setIcon(unsigned which) override { log.push_back("setIcon " + std::to_string(which)); }
  void setTimer(unsigned id, unsigned ms) override {
    log.push_back("setTimer " + std::to_string(id) + " " + std::to_string(ms));
  }
  void killTimer(unsigned id) override { log.push_back("killTimer " + std::to_string(id)); }
  int runInstallFlow() override {
    log.push_back("runInstallFlow");
    if (duringFlow) duringFlow();
    return flowStatus;
  }
  void endProcess(int status) override { log.push_back("endProcess " + std::to_string(status)); }
  std::intptr_t sendMessage(unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) override {
    log.push_back("bar " + std::to_string(message) + " " + std::to_string(wParam) + " " +
                  std::to_string(lParam));
    return 0;
  }

  std::vector<std::string> log;
  int flowStatus = 0;
  std::function<void()> duringFlow;
};

TEST(ProgressWindow, InitialisationSetsIconsBarAndTheOneMillisecondTimer) {
  Recorder window;
  initialiseProgressWindow(window, window);
  EXPECT_EQ(window.log, (std::vector<std::string>{"setIcon 1", "setIcon 0",
                                                  "bar 1025 0 6553600",  // PBM_SETRANGE 0..100
                                                  "bar 1028 11 0",       // PBM_SETSTEP 11
                                                  "setTimer 1 1"}));
}

class ProgressTimer : public ::testing::TestWithParam<int> {};

// Timer 1 stops before the installation, the engine is linked while it runs,
// and the process ends with the flow's status.
TEST_P(ProgressTimer, StopsTheTimerLinksTheEngineAndEndsWithTheFlowsStatus) {
  const int status = GetParam();
  Recorder window;
  window.flowStatus = status;
  std::string statusString;
  std::string* statusText = nullptr;
  ProgressControl* progressBar = nullptr;
  window.duringFlow = [&] {
    EXPECT_EQ(statusText, &statusString);
    EXPECT_EQ(progressBar, &window);
  };

  bool started = false;
  onProgressTimer(window, {statusText, progressBar}, statusString, window, started);
  EXPECT_EQ(window.log, (std::vector<std::string>{"killTimer 1", "runInstallFlow",
                                                  "endProcess " + std::to_string(status)}));
}

INSTANTIATE_TEST_SUITE_P(Ticks, ProgressTimer, ::testing::Values(0, 1));

// A tick queued before the timer stopped comes in through a dialog's or a
// box's message loop while the installation runs: it must not start another.
TEST(ProgressWindow, ATickDuringTheInstallationStartsNoSecondOne) {
  Recorder window;
  std::string statusString;
  std::string* statusText = nullptr;
  ProgressControl* progressBar = nullptr;
  bool started = false;
  int ticks = 0;
  window.duringFlow = [&] {
    if (++ticks == 1)
      onProgressTimer(window, {statusText, progressBar}, statusString, window, started);
  };
  onProgressTimer(window, {statusText, progressBar}, statusString, window, started);
  EXPECT_EQ(window.log, (std::vector<std::string>{"killTimer 1", "runInstallFlow", "killTimer 1",
                                                  "endProcess 0"}));
}

TEST(ProgressWindow, ExchangeAttachesTheBarAndShowsTheStatusLine) {
  FakeDialogControls controls;
  controls.add(1000, "msctls_progress32", 0x1).add(1003, "Static", kWsGroup);
  ControlObject progressCtrl;
  std::string statusString;

  DataExchange opening(controls, ExchangeDirection::ToControls);
  exchangeProgressWindow(opening, progressCtrl, statusString);
  EXPECT_EQ(controls.byId(1003).text, "");

  statusString = "Install printer...\r\n";  // what a report step does, then the refresh
  progressCtrl.sendMessage(kPbmStepIt, 0, 0);
  DataExchange refresh(controls, ExchangeDirection::ToControls);
  exchangeProgressWindow(refresh, progressCtrl, statusString);

  EXPECT_EQ(controls.byId(1003).text, "Install printer...\r\n");
  ASSERT_EQ(controls.log.size(), 3u);
  EXPECT_EQ(controls.log[1].id, 1000);
  EXPECT_EQ(controls.log[1].message, kPbmStepIt);
}

}  // namespace
}  // namespace qlx
