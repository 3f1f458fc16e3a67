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
                                              "ExitWindowsEx",
                                              "GetFileAttributesA",
                                              "SetFileAttributesA",
                                              "EnumPrintersA",
                                              "EnumMonitorsA",
                                              "EnumPrintProcessorsA",
                                              "MoveFileExA",
                                              "MoveFileA",
                                              "FlushFileBuffers",
                                              "RegQueryValueExA",
                                              "GetPrivateProfileSectionA"};
  return names;
}

// What a failure does beyond its box: stop the installation, leave it
// incomplete (a file not placed; a later step may still stop it), or nothing
// by itself (a later step may still stop for it).
enum class Effect { Fatal, Incomplete, Shown };

// The error box each call owns, and its effect there.
struct Reported {
  const char* prefix;
  Effect effect;
};

// A package file is looked for by its relative path, every installed one by its full path.
bool packageCheck(const fake::Call& call) {
  return call.name == "GetFileAttributesA" && call.args.at(0).find(':') == std::string::npos;
}

// `registering`: the call comes once the uninstall entry has been created.
std::optional<Reported> reportedFailure(Family family, const fake::Call& call, int occurrence,
                                        bool registering) {
  const std::string& name = call.name;
  if (name == "EnumPrinterDriversA" && occurrence == 2)
    return Reported{"EnumPrinterDrivers", Effect::Fatal};
  if (packageCheck(call)) return Reported{"The driver package is incomplete", Effect::Fatal};
  if (name == "OpenPrinterA") return Reported{"OpenPrinter Error", Effect::Fatal};
  if (name == "AddPrinterA") return Reported{"AddPrinter Error", Effect::Fatal};
  // A refused registration leaves the installation incomplete.
  if (name == "AddMonitorA" && occurrence == 1) return Reported{"AddMonitor", Effect::Incomplete};
  if (name == "AddPrintProcessorA") return Reported{"AddProcess", Effect::Incomplete};
  if (name == "AddPrinterDriverA") {
    return Reported{"AddPrinterDriver",
                    family == Family::Win2000 ? Effect::Incomplete : Effect::Fatal};
  }
  // What the copies need: shown, and the installation ends incomplete. A
  // copy is written beside its target, then renamed into place. (The first
  // directory queries only look for what an interrupted run left.)
  // The copy is flushed (opened for writing) before it takes the name.
  const bool flushing = name == "FlushFileBuffers" ||
                        (name == "CreateFileA" && call.args.at(1) == std::to_string(kGenericWrite));
  if (name == "CopyFileA" || name == "MoveFileExA" || name == "MoveFileA" || flushing) {
    return Reported{"CopyFile Error", Effect::Incomplete};
  }
  if (name == "GetSystemDirectoryA" && occurrence == 2)
    return Reported{"GetSystemDirectory Error", Effect::Incomplete};
  if (name == "GetPrintProcessorDirectoryA" && occurrence == 2)
    return Reported{"GetPrintProcessorDirectory", Effect::Incomplete};
  if (name == "GetPrinterDriverDirectoryA" && occurrence == 2) {
    return Reported{"GetPrinterDriverDirectory Error", Effect::Incomplete};
  }
  // The uninstall entry and its folder are part of the installation.
  if (registering && name == "GetWindowsDirectoryA") {
    return Reported{"GetWindowsDirectory Error", Effect::Incomplete};
  }
  // The run's record first: a registry that refuses it stops the run.
  if (name == "RegCreateKeyA" || (name == "RegSetValueExA" && occurrence == 1)) {
    return Reported{"RegCreateKey Error", occurrence == 1 ? Effect::Fatal : Effect::Incomplete};
  }
  if (name == "RegSetValueExA") return Reported{"RegSetValueEx Error", Effect::Incomplete};
  if (registering && name == "RegOpenKeyExA") {
    return Reported{"RegOpenKeyEx Error", Effect::Incomplete};  // the new entry reopened
  }
  return std::nullopt;
}

class FaultInjection : public ::testing::TestWithParam<Family> {
 protected:
  std::unique_ptr<Installation> freshRun() {
    auto run = std::make_unique<Installation>();
    run->prepare(GetParam());
    run->settings.overwrite = kOverwriteByDate;  // reaches the date comparison on 9x
    run->fake.queueMessageBoxAnswer(kIdYes);     // reaches the restart path
    return run;
  }
};

INSTANTIATE_TEST_SUITE_P(AllFamilies, FaultInjection,
                         ::testing::Values(Family::Win2000, Family::WinNt, Family::Win9x),
                         [](const auto& info) { return std::string(familyName(info.param)); });

TEST_P(FaultInjection, EachCallFailingInTurn) {
  const auto baseline = freshRun();
  ASSERT_EQ(baseline->install(), InstallResult::Completed);
  struct Failable {
    fake::Call call;
    int occurrence;
    bool registering;
  };
  std::vector<Failable> failable;
  std::map<std::string, int> seen;
  for (const fake::Call& call : baseline->fake.calls()) {
    if (failableCalls().count(call.name)) {
      // The first key created is the run's record; the uninstall entry's follows.
      failable.push_back({call, ++seen[call.name], seen["RegCreateKeyA"] > 1});
    }
  }
  ASSERT_EQ(failable.size(), baseline->fake.failableCallCount());

  for (std::size_t index = 0; index < failable.size(); ++index) {
    const auto& [call, occurrence, registering] = failable[index];
    SCOPED_TRACE(call.text() + " #" + std::to_string(occurrence));
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
    const auto reported = reportedFailure(GetParam(), call, occurrence, registering);
    if (reported) {
      ASSERT_FALSE(errorBoxes.empty());
      EXPECT_THAT(errorBoxes.front(), ::testing::StartsWith(std::string(reported->prefix)));
      EXPECT_THAT(errorBoxes.front(), ::testing::HasSubstr("4242"));
      if (reported->effect == Effect::Fatal) EXPECT_EQ(result, InstallResult::FatalError);
      if (reported->effect == Effect::Incomplete) EXPECT_NE(result, InstallResult::Completed);
      if (reported->effect == Effect::Shown) EXPECT_NE(result, InstallResult::Incomplete);
    } else {
      // A silent call never shows its own code.
      for (const std::string& text : errorBoxes) {
        EXPECT_THAT(text, ::testing::Not(::testing::HasSubstr("Code: 4242")));
      }
    }

    if (result == InstallResult::FatalError) {
      EXPECT_EQ(run->lastCall(), "AppMessageBox");  // nothing after the box
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
  fake.failCall("AddMonitorA", 1722);
  fake.failCall("FormatMessageA", 8);
  run->install();
  ASSERT_FALSE(fake.messageBoxes().empty());
  EXPECT_EQ(fake.messageBoxes()[0].text, "AddMonitor Error Code: 1722\n\n");
  EXPECT_EQ(fake.liveAllocations(), 0);
}

}  // namespace
}  // namespace qlx::testing_support
