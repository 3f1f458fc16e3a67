#include <gmock/gmock.h>

#include "app/InstallFlow.h"
#include "app/ProgramStart.h"
#include "app/StartUp.h"
#include "support/InstallerFixture.h"

namespace qlx::testing_support {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Shift-JIS lead bytes: 0x81-0x9F and 0xE0-0xFC; their trail byte may be '\\'.
bool shiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

struct FolderCase {
  const char* path;
  const char* folder;
};

class ProgramFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(ProgramFolder, IsThePathUpToItsLastSeparator) {
  EXPECT_EQ(programFolder(GetParam().path, &shiftJisLeadByte), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ProgramFolder,
    ::testing::Values(FolderCase{"C:\\Pkg\\QLX957_Installer.exe", "C:\\Pkg\\"},
                      FolderCase{"C:\\QLX957_Installer.exe", "C:\\"},  // the root keeps its '\\'
                      FolderCase{"\\\\server\\share\\setup.exe", "\\\\server\\share\\"},
                      FolderCase{"C:\\a.b\\c d\\setup.exe", "C:\\a.b\\c d\\"},
                      FolderCase{"setup.exe", ""},
                      // "\x95\x5c" is one character whose second byte is '\\'.
                      FolderCase{"C:\\Dir\x95\\setup.exe", "C:\\"},
                      FolderCase{"C:\\\x95\\\\setup.exe", "C:\\\x95\\\\"}));

TEST(ProgramFolder, WithoutACodePageEveryBackslashSeparates) {
  EXPECT_EQ(programFolder("C:\\Dir\x95\\setup.exe"), "C:\\Dir\x95\\");
}

class PrepareProcess : public ::testing::Test {
 protected:
  PrepareProcess() {
    fake.addDirectory("D:\\Pkg");
    fake.setProgramPath("D:\\Pkg\\QLX957_Installer.exe");
    fake.clearCalls();
  }
  void prepare() { prepareProcess(fake, fake, &shiftJisLeadByte); }
  fake::FakePlatform fake;
};

TEST_F(PrepareProcess, MovesToTheProgramsFolderThenTurnsGhostingOff) {
  prepare();
  EXPECT_EQ(fake.currentDirectory(), "D:\\Pkg");
  EXPECT_EQ(fake.resolve("driver2k\\QLX957E.DLL"), "D:\\Pkg\\driver2k\\QLX957E.DLL");
  EXPECT_THAT(fake.callTexts(),
              ElementsAre("GetModuleFileNameA(buffer, 261)", "SetCurrentDirectoryA(D:\\Pkg\\)",
                          "DisableProcessWindowsGhosting()"));
  EXPECT_TRUE(fake.windowsGhostingDisabled());
}

// The package would be read from some other folder: the run stops, saying
// which folder and why.
TEST_F(PrepareProcess, AFolderThatCannotBeMadeCurrentStopsTheRun) {
  struct Case {
    const char* label;
    std::function<void(fake::FakePlatform&)> arrange;
    const char* problem;
  };
  const Case cases[] = {
      {"no program path", [](auto& m) { m.failCall("GetModuleFileNameA", 5); },
       "The program's own folder cannot be found (error 5: Access is denied.)."},
      {"folder refused", [](auto& m) { m.failCall("SetCurrentDirectoryA", 5); },
       "The program's folder \"D:\\Pkg\\\" cannot be made the current directory (error 5: "
       "Access is denied.)."},
      {"folder gone", [](auto& m) { m.setProgramPath("E:\\Gone\\QLX957_Installer.exe"); },
       "The program's folder \"E:\\Gone\\\" cannot be made the current directory (error 2: The "
       "system cannot find the file specified.)."},
      {"path cut short",
       [](auto& m) { m.setProgramPath("D:\\Pkg\\" + std::string(300, 'x') + ".exe"); },
       "The program's own folder cannot be found: its path is longer than 260 characters."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    fake::FakePlatform machine;
    machine.addDirectory("D:\\Pkg");
    machine.setProgramPath("D:\\Pkg\\QLX957_Installer.exe");
    c.arrange(machine);
    EXPECT_EQ(prepareProcess(machine, machine),
              std::string(c.problem) + "\n\nNothing was installed.");
    EXPECT_EQ(machine.currentDirectory(), "C:\\SETUP");
  }
}

TEST(StopBeforeInstalling, TellsTheUserOrTheLogAndEndsAsAFailure) {
  for (const char* arguments : {"", "/passive /log:C:\\q.log", "/quiet /log:C:\\q.log"}) {
    SCOPED_TRACE(arguments);
    fake::FakePlatform machine;
    InstallLog log{machine};
    const ParsedCommandLine parsed = parseCommandLine(std::string("x.exe ") + arguments);
    if (!parsed.options.logFile.empty()) log.open(parsed.options.logFile);
    const bool attended = *arguments == '\0';
    EXPECT_EQ(stopBeforeInstalling("The reason.", parsed.options, machine, log),
              attended ? kExitFailure : kExitInstallFailure);
    EXPECT_EQ(machine.messageBoxes().size(), attended ? 1u : 0u);
    if (!attended) {
      EXPECT_EQ(machine.file("C:\\q.log")->contents,
                "The reason.\r\nResult: nothing installed, exit code 1603\r\n");
    }
  }
}

TEST_F(PrepareProcess, GhostingIsTurnedOffWhereWindowsHasIt) {
  struct Case {
    Dword platformId, major, minor;
    bool present;
  };
  for (const Case& c :
       {Case{1, 4, 0, false}, Case{1, 4, 10, false}, Case{1, 4, 90, false}, Case{2, 4, 0, false},
        Case{2, 5, 0, false}, Case{2, 5, 1, true}, Case{2, 5, 2, true}}) {
    fake::FakePlatform machine;
    machine.setVersion(c.platformId, c.major, c.minor);
    prepareProcess(machine, machine);
    EXPECT_EQ(machine.callTexts("DisableProcessWindowsGhosting").size(), c.present ? 1u : 0u)
        << c.major << "." << c.minor;
  }
}

// Started from a shortcut whose working directory is C:\WINDOWS: the package
// beside the program is installed all the same.
TEST_F(PrepareProcess, ThePackageBesideTheProgramIsInstalledFromAnyWorkingDirectory) {
  struct Run {
    std::unique_ptr<fake::FakePlatform> machine = std::make_unique<fake::FakePlatform>();
    int status = -1;
  };
  auto installFrom = [](const char* workingDirectory, bool prepared) {
    Run run;
    fake::FakePlatform& machine = *run.machine;
    addDriverPackage(machine);  // in C:\SETUP, beside the program
    machine.setCurrentDirectory(workingDirectory);
    if (prepared) prepareProcess(machine, machine);
    OsTypeDialog os;
    PortTypeDialog port;
    run.status = runInstallFlow(machine.platform(), {}, os, port, machine, machine);
    return run;
  };
  const Run fromItsFolder = installFrom("C:\\SETUP", false);
  const Run fromElsewhere = installFrom("C:\\WINDOWS", true);
  const std::string drivers = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3";
  ASSERT_EQ(fromItsFolder.status, kExitSuccess);
  ASSERT_FALSE(fromItsFolder.machine->filesIn(drivers).empty());
  EXPECT_EQ(fromElsewhere.status, kExitSuccess);
  EXPECT_EQ(fromElsewhere.machine->filesIn(drivers), fromItsFolder.machine->filesIn(drivers));
  EXPECT_EQ(fromElsewhere.machine->filesIn("C:\\WINDOWS\\QLX-957"),
            fromItsFolder.machine->filesIn("C:\\WINDOWS\\QLX-957"));
  EXPECT_EQ(fromElsewhere.machine->messageBoxes().size(),
            fromItsFolder.machine->messageBoxes().size());

  // Without it the copies fail and the installation with them.
  const Run unprepared = installFrom("C:\\WINDOWS", false);
  EXPECT_EQ(unprepared.status, kExitFailure);
}

}  // namespace
}  // namespace qlx::testing_support
