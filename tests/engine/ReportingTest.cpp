#include <gmock/gmock.h>

#include "engine/Reporter.h"
#include "fake/FakePlatform.h"

namespace qlx {
namespace {

using ::testing::ElementsAre;

class Reporting : public ::testing::Test {
 protected:
  fake::FakePlatform fake;
  RunSettings settings;
  Reporter reporter{fake.platform(), settings, {&fake.statusString, &fake}};
};

TEST_F(Reporting, EachStepShowsItsTextAdvancesTheBarAndPauses) {
  for (int i = 0; i < 9; ++i) reporter.reportStep("Copy files...\r\n");
  std::vector<int> positions;
  for (const fake::Refresh& refresh : fake.refreshes()) {
    EXPECT_EQ(refresh.status, "Copy files...\r\n");
    positions.push_back(refresh.barPosition);
  }
  EXPECT_THAT(positions, ElementsAre(11, 22, 33, 44, 55, 66, 77, 88, 99));
  EXPECT_EQ(fake.clockMs(), 9 * 500u);
}

TEST_F(Reporting, TheWindowShowsTheNewTextBeforeThePause) {
  reporter.reportStep("Add printer...\r\n");
  EXPECT_EQ(fake.refreshes().at(0).status, "Add printer...\r\n");
  EXPECT_EQ(fake.refreshes().at(0).atMs, 0u);
}

TEST_F(Reporting, CompletionFillsTheBarAndTakesTheGivenPause) {
  reporter.reportStep("Install printer...\r\n");
  reporter.reportCompletion(2000);
  EXPECT_EQ(fake.refreshes().back().status, "Completed!");
  EXPECT_EQ(fake.refreshes().back().barPosition, 100);
  EXPECT_THAT(fake.callTexts("SendMessageA").back(), "SendMessageA(1026, 100, 0)");
  EXPECT_EQ(fake.clockMs(), 2500u);
  // "Completed!" is painted before the pause, not after it.
  EXPECT_EQ(fake.refreshes().back().atMs, 500u);
}

struct ErrorCase {
  Dword code;
  std::optional<std::string> systemText;
  std::string expected;
};

class ErrorBox : public Reporting, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(ErrorBox, ShowsTheFormatWithTheSignedCodeAndTheSystemText) {
  const ErrorCase& c = GetParam();
  fake.setSystemMessage(c.code, c.systemText);
  fake.failCall("AddMonitorA", c.code);
  const MonitorInfo2 monitor{"m", "Windows NT x86", "m.dll"};
  ASSERT_FALSE(fake.addMonitor(nullptr, 2, &monitor));
  fake.clearCalls();

  reporter.reportApiError("AddMonitor Error Code: %d\n\n", c.code);

  ASSERT_EQ(fake.messageBoxes().size(), 1u);
  const fake::MessageBoxRecord& box = fake.messageBoxes()[0];
  EXPECT_TRUE(box.applicationBox);
  EXPECT_EQ(box.type, 0u);
  EXPECT_EQ(box.helpContext, 0u);
  EXPECT_EQ(box.text, c.expected);
  EXPECT_THAT(fake.callTexts("FormatMessageA"),
              ElementsAre("FormatMessageA(4352, null, " + std::to_string(c.code) + ", 1033)"));
  EXPECT_EQ(fake.liveAllocations(), 0);   // the system's buffer is released
  EXPECT_TRUE(fake.refreshes().empty());  // status line and bar untouched
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ErrorBox,
    ::testing::Values(
        ErrorCase{2, "The system cannot find the file specified.\r\n",
                  "AddMonitor Error Code: 2\n\nThe system cannot find the file specified.\r\n"},
        ErrorCase{3006, "The specified print monitor has already been installed.\r\n",
                  "AddMonitor Error Code: 3006\n\nThe specified print monitor has already been "
                  "installed.\r\n"},
        ErrorCase{4321, std::nullopt, "AddMonitor Error Code: 4321\n\n"},
        ErrorCase{0x80070005u, std::nullopt, "AddMonitor Error Code: -2147024891\n\n"}));

TEST(ReportingUnlinked, WithoutAProgressWindowNothingIsShownOrSent) {
  fake::FakePlatform fake;
  const RunSettings settings;
  Reporter reporter(fake.platform(), settings);
  reporter.reportStep("Check drivers...\r\n");
  reporter.reportCompletion(500);
  EXPECT_TRUE(fake.refreshes().empty());
  EXPECT_TRUE(fake.callTexts("SendMessageA").empty());
  EXPECT_EQ(fake.clockMs(), 1000u);  // the pacing stays
}

}  // namespace
}  // namespace qlx
