// A fresh installation of each family with each platform call in turn made
// to fail: nothing crashes or leaks, and the outcome is the one the call's
// place in the procedure calls for.

#include <gmock/gmock.h>

#include <map>
#include <optional>
#include <set>

#include "support/InstallerFixture.h"

namespace qlx::testing_support {
namespace {

constexpr Dword kInjectedError = 4242;

const std::set<std::string>& failableCalls() {
  static const std::set<std::string> names = {"GetVersionExA",
                                              "GetSystemDirectoryA",
                                              "GetWindowsDirectoryA",
                                              "CopyFileA",
                                              "DeleteFileA",
                                              "CreateDirectoryA",
                                              "CreateFileA",
                                              "GetFileTime",
                                              "GlobalAlloc",
                                              "GlobalLock",
                                              "GlobalHandle",
                                              "FormatMessageA",
                                              "GetFileVersionInfoSizeA",
                                              "GetFileVersionInfoA",
                                              "VerQueryValueA",
                                              "RegOpenKeyExA",
                                              "RegDeleteKeyA",
                                              "RegCreateKeyA",
                                              "RegSetValueExA",
                                              "OpenProcessToken",
                                              "LookupPrivilegeValueA",
                                              "AdjustTokenPrivileges",
                                              "EnumPrinterDriversA",
                                              "GetPrinterDriverDirectoryA",
                                              "GetPrintProcessorDirectoryA",
                                              "AddMonitorA",
                                              "AddPrintProcessorA",
                                              "AddPrinterDriverA",
                                              "AddPrinterA",
                                              "OpenPrinterA",
                                              "ExitWindowsEx"};
  return names;
}

// The error box each spooler call owns, and whether its failure is fatal there.
struct Reported {
  const char* prefix;
  bool fatal;
};

std::optional<Reported> reportedFailure(Family family, const std::string& call, int occurrence) {
  if (call == "EnumPrinterDriversA" && occurrence == 2) return Reported{"EnumPrinterDrivers", true};
  if (call == "AddPrinterA") return Reported{"AddPrinter Error", true};
  if (call == "AddMonitorA" && occurrence == 1) return Reported{"AddMonitor", false};
  if (call == "AddPrintProcessorA") return Reported{"AddProcess", false};
  if (call == "AddPrinterDriverA") return Reported{"AddPrinterDriver", family != Family::Win2000};
  return std::nullopt;
}

class FaultInjection : public ::testing::TestWithParam<Family> {
 protected:
  std::unique_ptr<Installation> freshRun() {
    auto run = std::make_unique<Installation>();
    run->prepare(GetParam());
    run->installer->overwriteMode = kOverwriteByDate;  // reaches the date comparison on 9x
    run->fake.queueMessageBoxAnswer(kIdYes);           // reaches the restart path
    return run;
  }
};

INSTANTIATE_TEST_SUITE_P(AllFamilies, FaultInjection,
                         ::testing::Values(Family::Win2000, Family::WinNt, Family::Win9x),
                         [](const auto& info) { return std::string(familyName(info.param)); });

TEST_P(FaultInjection, EachCallFailingInTurn) {
  const auto baseline = freshRun();
  ASSERT_EQ(baseline->install(), InstallResult::Completed);
  std::vector<std::pair<std::string, int>> failable;  // name and its occurrence
  std::map<std::string, int> seen;
  for (const fake::Call& call : baseline->fake.calls()) {
    if (failableCalls().count(call.name)) failable.emplace_back(call.name, ++seen[call.name]);
  }
  ASSERT_EQ(failable.size(), baseline->fake.failableCallCount());

  for (std::size_t index = 0; index < failable.size(); ++index) {
    const auto& [name, occurrence] = failable[index];
    SCOPED_TRACE(name + " #" + std::to_string(occurrence));
    const auto run = freshRun();
    fake::FakePlatform& fake = run->fake;
    fake.failNthFailableCall(index, kInjectedError);
    const InstallResult result = run->install();

    EXPECT_EQ(fake.openHandles(), 0);
    EXPECT_EQ(fake.liveAllocations(), 0);

    std::vector<std::string> errorBoxes;
    for (const fake::MessageBoxRecord& box : fake.messageBoxes()) {
      if (box.applicationBox) errorBoxes.push_back(box.text);
    }
    const auto reported = reportedFailure(GetParam(), name, occurrence);
    if (reported) {
      ASSERT_FALSE(errorBoxes.empty());
      EXPECT_THAT(errorBoxes.front(), ::testing::StartsWith(std::string(reported->prefix)));
      EXPECT_THAT(errorBoxes.front(), ::testing::HasSubstr("Error Code: 4242\n\n"));
      if (reported->fatal) EXPECT_EQ(result, InstallResult::FatalError);
    } else {
      // A silent call never shows its own code.
      for (const std::string& text : errorBoxes) {
        EXPECT_THAT(text, ::testing::Not(::testing::HasSubstr("Code: 4242")));
      }
    }

    if (result == InstallResult::FatalError) {
      EXPECT_EQ(fake.calls().back().name, "AppMessageBox");  // nothing after the box
      EXPECT_NE(fake.statusString, "Completed!");
    } else {
      EXPECT_EQ(fake.statusString, "Completed!");
      EXPECT_EQ(fake.barPosition(), 100);
    }
  }
}

TEST_P(FaultInjection, ErrorBoxWithoutSystemTextWhenTheLookupFails) {
  const auto run = freshRun();
  fake::FakePlatform& fake = run->fake;
  fake.addInstalledMonitor("DALVERA Language Monitor QLX957");
  fake.failCall("FormatMessageA", 8);
  run->install();
  ASSERT_FALSE(fake.messageBoxes().empty());
  EXPECT_EQ(fake.messageBoxes()[0].text, "AddMonitor Error Code: 3006\n\n");
  EXPECT_EQ(fake.liveAllocations(), 0);
}

}  // namespace
}  // namespace qlx::testing_support
