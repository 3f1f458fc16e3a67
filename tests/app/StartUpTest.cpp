// What the command line leads to before any window: the usage, a bad command
// line, the log and its header.

#include <gmock/gmock.h>

#include "app/SingleInstance.h"
#include "app/StartUp.h"
#include "engine/ExitCodes.h"
#include "fake/FakePlatform.h"

namespace qlx {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr unsigned kMbIconInformation = 0x40;

class StartUp : public ::testing::Test {
 protected:
  StartDecision start(const std::string& arguments) {
    line = "\"C:\\SETUP\\QLX957_Installer.exe\" " + arguments;
    return startProgram(parseCommandLine(line), line, fake, fake, log);
  }
  std::string logText(const char* path = "C:\\SETUP\\q.log") const {
    const fake::FakeFile* file = fake.file(path);
    return file == nullptr ? "<missing>" : file->contents;
  }

  fake::FakePlatform fake;
  InstallLog log{fake};
  std::string line;
};

TEST_F(StartUp, NoArgumentsOnlyTakeTheInstallersNameAndInstall) {
  const StartDecision decision = start("");
  EXPECT_TRUE(decision.install);
  EXPECT_THAT(fake.callTexts(),
              ElementsAre("CreateMutexA(Global\\DALVERA_QLX-957_Installer)", "GetLastError()"));
  EXPECT_FALSE(log.isOpen());
}

// A second copy started while one runs: the mutex name another process
// holds, on systems with and without the global namespace.
TEST(SingleInstance, ASecondCopyChangesNothingAndSaysWhy) {
  struct Case {
    const char* label;
    Dword platformId, major, minor;
    const char* heldElsewhere;  // null: no other copy runs
    const char* arguments;
    bool install;
    int exitCode;
    std::size_t boxes;
  };
  const Case cases[] = {
      {"XP, first copy", 2, 5, 1, nullptr, "", true, 0, 0},
      {"XP, attended second", 2, 5, 1, kInstanceMutexGlobal, "", false, kExitFailure, 1},
      {"XP, quiet second", 2, 5, 1, kInstanceMutexGlobal, "/quiet /log:C:\\q.log", false,
       kExitAlreadyRunning, 0},
      {"XP, passive second", 2, 5, 1, kInstanceMutexGlobal, "/passive", false, kExitAlreadyRunning,
       0},
      {"NT 4.0 without the global namespace", 2, 4, 0, kInstanceMutex, "/quiet", false,
       kExitAlreadyRunning, 0},
      {"NT 4.0, first copy", 2, 4, 0, nullptr, "/quiet", true, 0, 0},
      {"98, attended second", 1, 4, 10, kInstanceMutex, "", false, kExitFailure, 1},
      {"98, first copy", 1, 4, 10, nullptr, "", true, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fake::FakePlatform machine;
    machine.setVersion(c.platformId, c.major, c.minor);
    if (c.heldElsewhere != nullptr) machine.holdMutexElsewhere(c.heldElsewhere);
    InstallLog runLog{machine};
    const std::string line = std::string("x.exe ") + c.arguments;
    const StartDecision decision =
        startProgram(parseCommandLine(line), line, machine, machine, runLog);
    EXPECT_EQ(decision.install, c.install);
    EXPECT_EQ(decision.exitCode, c.exitCode);
    ASSERT_EQ(machine.messageBoxes().size(), c.boxes);
    if (c.boxes == 1) {
      EXPECT_EQ(machine.messageBoxes()[0].text,
                "Another installation of the DALVERA QLX-957 driver is already running.");
    }
  }
  fake::FakePlatform machine;
  machine.holdMutexElsewhere(kInstanceMutexGlobal);
  InstallLog runLog{machine};
  const std::string line = "x.exe /quiet /log:C:\\q.log";
  startProgram(parseCommandLine(line), line, machine, machine, runLog);
  EXPECT_THAT(machine.file("C:\\q.log")->contents,
              HasSubstr("Another installation of the DALVERA QLX-957 driver is already running. "
                        "Nothing was changed, exit code 1618\r\n"));
}

TEST_F(StartUp, BadCommandLineShowsTheReasonAndTheUsage) {
  const StartDecision decision = start("/overwrite:newest");
  EXPECT_FALSE(decision.install);
  EXPECT_EQ(decision.exitCode, kExitBadCommandLine);
  ASSERT_EQ(fake.messageBoxes().size(), 1u);
  const fake::MessageBoxRecord& box = fake.messageBoxes()[0];
  EXPECT_TRUE(box.applicationBox);
  EXPECT_EQ(box.type, kMbOk | kMbIconWarning);
  EXPECT_THAT(box.text, StartsWith("\"/overwrite:newest\": the policy is one of"));
  EXPECT_THAT(box.text, HasSubstr(std::string("\n\n") + kUsageText));
}

TEST_F(StartUp, UnattendedBadCommandLineShowsNothingAndLogsTheReason) {
  const StartDecision decision = start("/quiet /overwrite:newest /log:C:\\SETUP\\q.log");
  EXPECT_EQ(decision.exitCode, kExitBadCommandLine);
  EXPECT_FALSE(decision.install);
  EXPECT_THAT(fake.messageBoxes(), IsEmpty());
  EXPECT_THAT(logText(), HasSubstr("\r\nBad command line: \"/overwrite:newest\": the policy is one "
                                   "of version, date, always, never.\r\nResult: nothing "
                                   "installed, exit code 87\r\n"));

  fake::FakePlatform machine;
  InstallLog noLog{machine};
  const std::string quiet = "x.exe /passive /passive";
  EXPECT_EQ(startProgram(parseCommandLine(quiet), quiet, machine, machine, noLog).exitCode,
            kExitBadCommandLine);
  EXPECT_THAT(machine.calls(), IsEmpty());
}

TEST_F(StartUp, UsageIsShownOnlyToSomeone) {
  const StartDecision decision = start("-?");
  EXPECT_FALSE(decision.install);
  EXPECT_EQ(decision.exitCode, kExitSuccess);
  ASSERT_EQ(fake.messageBoxes().size(), 1u);
  EXPECT_EQ(fake.messageBoxes()[0].text, kUsageText);
  EXPECT_EQ(fake.messageBoxes()[0].type, kMbOk | kMbIconInformation);

  fake::FakePlatform machine;
  InstallLog quietLog{machine};
  const std::string quiet = "x.exe /? /quiet";
  const StartDecision silent =
      startProgram(parseCommandLine(quiet), quiet, machine, machine, quietLog);
  EXPECT_FALSE(silent.install);
  EXPECT_EQ(silent.exitCode, kExitSuccess);
  EXPECT_THAT(machine.messageBoxes(), IsEmpty());
}

TEST_F(StartUp, LogThatCannotBeOpenedStopsBeforeAnythingIsInstalled) {
  const StartDecision decision = start("/quiet /log:C:\\NOWHERE\\q.log");
  EXPECT_FALSE(decision.install);
  EXPECT_EQ(decision.exitCode, kExitLogFailure);
  EXPECT_THAT(fake.messageBoxes(), IsEmpty());

  fake::FakePlatform machine;
  InstallLog attendedLog{machine};
  const std::string attended = "x.exe /log:C:\\NOWHERE\\q.log";
  EXPECT_EQ(
      startProgram(parseCommandLine(attended), attended, machine, machine, attendedLog).exitCode,
      kExitLogFailure);
  ASSERT_EQ(machine.messageBoxes().size(), 1u);
  EXPECT_EQ(machine.messageBoxes()[0].text,
            "The log file \"C:\\NOWHERE\\q.log\" cannot be opened (error 3).\n\nThe system cannot "
            "find the path specified.");
}

TEST_F(StartUp, HeaderNamesTheProgramTheTimeAndTheCommandLine) {
  fake.addFile("C:\\SETUP\\q.log", fake::FakeFile{"an earlier run\r\n"});
  fake.setLocalTime(SystemTime{2027, 1, 5, 2, 3, 4, 5, 0});
  const StartDecision decision = start("/passive \"/log:C:\\SETUP\\q.log\"");
  EXPECT_TRUE(decision.install);
  EXPECT_EQ(logText(),
            "an earlier run\r\n"
            "\r\n"
            "==== QLX957_Installer 1.0.2.1 ====\r\n"
            "Started: 2027-01-02 03:04:05\r\n"
            "Command line: \"C:\\SETUP\\QLX957_Installer.exe\" /passive "
            "\"/log:C:\\SETUP\\q.log\"\r\n");
  EXPECT_TRUE(log.isOpen());
}

// The window's modal run came back without installing: closed before the
// first tick, or never opened. An interactive run keeps its old statuses; the
// unattended modes tell a deployment tool that nothing was installed.
TEST_F(StartUp, WindowRunThatNeverInstalledEndsWithTheModesStatus) {
  struct Case {
    const char* arguments;
    DialogResult result;
    int exitCode;
    const char* logLine;
  };
  const Case cases[] = {
      {"", DialogResult::Cancel, kExitSuccess, "closed before the installation started"},
      {"", DialogResult::Ok, kExitSuccess, "closed before the installation started"},
      {"", DialogResult::Error, kExitFailure, "progress window cannot be opened"},
      {"/passive", DialogResult::Cancel, kExitCancelled, "closed before the installation started"},
      {"/passive", DialogResult::Error, kExitInstallFailure, "progress window cannot be opened"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.arguments) + " " + std::to_string(static_cast<int>(c.result)));
    fake::FakePlatform machine;
    InstallLog runLog{machine};
    const std::string line = std::string("x.exe /log:C:\\w.log ") + c.arguments;
    const ParsedCommandLine parsed = parseCommandLine(line);
    ASSERT_TRUE(startProgram(parsed, line, machine, machine, runLog).install);
    EXPECT_EQ(endWithoutInstalling(c.result, parsed.options, runLog), c.exitCode);
    const fake::FakeFile* file = machine.file("C:\\w.log");
    ASSERT_NE(file, nullptr);
    EXPECT_THAT(file->contents, HasSubstr(std::string(c.logLine) + ", exit code " +
                                          std::to_string(c.exitCode) + "\r\n"));
    EXPECT_THAT(machine.messageBoxes(), IsEmpty());
  }
}

}  // namespace
}  // namespace qlx
