// The flow under the command line's options: what each mode shows and asks,
// the exit codes, and the log support reads afterwards.

#include <gmock/gmock.h>

#include <array>

#include "app/CommandLine.h"
#include "app/InstallFlow.h"
#include "engine/InstallLog.h"
#include "support/InstallerFixture.h"

namespace qlx::testing_support {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr char kLogPath[] = "C:\\SETUP\\q.log";

InstallOptions optionsOf(std::vector<std::string> arguments) {
  const ParsedCommandLine parsed = parseArguments(arguments);
  EXPECT_TRUE(parsed.ok()) << parsed.error;
  return parsed.options;
}

class Unattended : public ::testing::Test {
 protected:
  Unattended() {
    addDriverPackage(fake);
    fake.setVersion(2, 5, 1, 2600);
  }

  // As the program runs it: the window (when there is one) links the engine
  // to its status line and bar before the flow starts.
  int run(const std::vector<std::string>& arguments) {
    const InstallOptions options = optionsOf(arguments);
    ProgressView view;
    if (options.mode != RunMode::Quiet) view = {&fake.statusString, &fake};
    InstallLog* sink = nullptr;
    if (!options.logFile.empty()) {
      EXPECT_EQ(log.open(options.logFile), kErrorSuccess);
      sink = &log;
    }
    return runInstallFlow(fake.platform(), view, osTypeDialog, portTypeDialog, fake, fake, options,
                          sink);
  }

  std::vector<std::string> logLines() const {
    std::vector<std::string> lines;
    const fake::FakeFile* file = fake.file(kLogPath);
    if (file == nullptr) return lines;
    const std::string& text = file->contents;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "the log ends with a whole line";
    return lines;
  }

  // `expected` appear in the log in this order, with other lines between.
  void expectInOrder(const std::vector<std::string>& expected) const {
    const std::vector<std::string> lines = logLines();
    std::size_t at = 0;
    for (const std::string& line : expected) {
      while (at < lines.size() && lines[at] != line) ++at;
      ASSERT_LT(at, lines.size()) << "missing or out of order: " << line;
      ++at;
    }
  }

  void preinstallDriver() {
    addCompleteInstallation(fake, Family::WinNt);
    fake.addInstalledPrinter("DALVERA QLX-957", "DALVERA QLX-957");
  }

  fake::FakePlatform fake;
  OsTypeDialog osTypeDialog;
  PortTypeDialog portTypeDialog;
  InstallLog log{fake};
};

struct ModeCase {
  const char* label;
  std::vector<std::string> arguments;
  int dialogs;
  std::size_t boxes;  // the restart question, when asked
  std::uint64_t pausedMs;
  bool windowRefreshed;
  int exitCode;
};

class Modes : public Unattended, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(Modes, FreshInstallationShowsAndAsksOnlyWhatTheModeAllows) {
  const ModeCase& c = GetParam();
  EXPECT_EQ(run(c.arguments), c.exitCode);
  EXPECT_EQ(fake.osDialogRuns() + fake.portDialogRuns(), c.dialogs);
  EXPECT_EQ(fake.messageBoxes().size(), c.boxes);
  EXPECT_EQ(fake.clockMs(), c.pausedMs);
  EXPECT_EQ(fake.refreshes().empty(), !c.windowRefreshed);
  EXPECT_EQ(fake.installedPrinterNames(), std::vector<std::string>{"DALVERA QLX-957"});
}

// Eight steps of 500 ms and 2000 ms after "Completed!" on the NT family.
INSTANTIATE_TEST_SUITE_P(
    FreshNtFamily, Modes,
    ::testing::Values(ModeCase{"Interactive", {}, 2, 1, 6000, true, 0},
                      ModeCase{"InteractiveNoRestart", {"/norestart"}, 2, 0, 6000, true, 0},
                      ModeCase{"Passive", {"/passive"}, 0, 0, 6000, true, 3010},
                      ModeCase{"Quiet", {"/quiet"}, 0, 0, 0, false, 3010}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(Unattended, QuietMakesNoWindowOrUserCallAtAll) {
  run({"/quiet"});
  for (const char* call : {"RunOsTypeDialog", "RunPortTypeDialog", "MessageBoxA", "AppMessageBox",
                           "RefreshMainWindow", "SendMessageA", "Sleep"}) {
    EXPECT_THAT(fake.callNames(), Not(Contains(call))) << call;
  }
}

TEST_F(Unattended, PortAndPolicyComeFromTheOptionsWithTheDialogsDefaults) {
  fake.setVersion(1, 4, 10);
  fake.useWindows9xLayout();
  EXPECT_EQ(run({"/quiet"}), 3010);
  EXPECT_EQ(fake.printerCalls().at(0).portName, "LPT1:");

  fake::FakePlatform machine;
  addDriverPackage(machine);
  machine.useWindows9xLayout();
  OsTypeDialog os;
  PortTypeDialog port;
  runInstallFlow(machine.platform(), {}, os, port, machine, machine,
                 optionsOf({"/passive", "-port=com4", "/overwrite:never"}));
  EXPECT_EQ(machine.printerCalls().at(0).portName, "COM4:");
}

TEST_F(Unattended, InteractiveOptionsPreselectTheDialogsTheUserStillDecides) {
  fake.setVersion(1, 4, 10);
  fake.useWindows9xLayout();
  run({"/port:COM2", "/overwrite:always"});
  EXPECT_EQ(fake.callTexts("RunPortTypeDialog"),
            std::vector<std::string>{"RunPortTypeDialog(1, -1)"});
  EXPECT_EQ(portTypeDialog.initialOverwriteIndex, kOverwriteAlways);
  EXPECT_EQ(fake.printerCalls().at(0).portName, "COM2:");

  fake::FakePlatform machine;
  addDriverPackage(machine);
  machine.useWindows9xLayout();
  machine.scriptPortDialog(DialogResult::Ok, 5, kOverwriteByDate);  // the user changes both
  OsTypeDialog os;
  PortTypeDialog port;
  runInstallFlow(machine.platform(), {}, os, port, machine, machine,
                 optionsOf({"/port:COM2", "/overwrite:never"}));
  EXPECT_EQ(machine.printerCalls().at(0).portName, "LPT2:");
}

struct ExitCase {
  const char* label;
  std::vector<std::string> arguments;
  enum Situation {
    Fresh,
    DriverPresent,
    FatalFailure,
    Unsupported,
    NoShutdownPrivilege,
    PrintersUnreadable,  // the driver there, its printers not to be listed
    HalfInstalled,       // the driver there without its monitor or entry
  } situation;
  int exitCode;
  bool restart;
};

class ExitCodes : public Unattended, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ExitCodes, TellTheDeploymentToolWhatHappened) {
  const ExitCase& c = GetParam();
  switch (c.situation) {
    case ExitCase::Fresh:
      break;
    case ExitCase::DriverPresent:
      preinstallDriver();
      break;
    case ExitCase::FatalFailure:
      fake.failCall("AddPrinterA", 1797);
      break;
    case ExitCase::Unsupported:
      fake.setVersion(2, 6, 4);
      break;
    case ExitCase::NoShutdownPrivilege:
      fake.setShutdownPrivilegeHeld(false);
      break;
    case ExitCase::PrintersUnreadable:
      preinstallDriver();
      fake.failCall("EnumPrintersA", 1722, 2);  // the list, after its size
      break;
    case ExitCase::HalfInstalled:
      fake.addInstalledDriver("DALVERA QLX-957", "Windows NT x86");
      fake.failCall("EnumPrintersA", 1722, 2);  // the list, after its size
      break;
  }
  const std::size_t printers = fake.installedPrinterNames().size();
  EXPECT_EQ(run(c.arguments), c.exitCode);
  if (c.exitCode == 1603) EXPECT_EQ(fake.installedPrinterNames().size(), printers);
  EXPECT_EQ(fake.restartRequested(), c.restart);
  EXPECT_THAT(fake.messageBoxes(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ExitCodes,
    ::testing::Values(
        ExitCase{"FreshQuiet", {"/quiet"}, ExitCase::Fresh, 3010, false},
        ExitCase{"FreshPassiveNoRestart", {"/passive", "/norestart"}, ExitCase::Fresh, 3010, false},
        ExitCase{"FreshForcedRestart", {"/quiet", "/forcerestart"}, ExitCase::Fresh, 1641, true},
        ExitCase{"ForcedRestartRefused",
                 {"/quiet", "/forcerestart"},
                 ExitCase::NoShutdownPrivilege,
                 3010,
                 false},
        ExitCase{"DriverPresent", {"/quiet", "/forcerestart"}, ExitCase::DriverPresent, 0, false},
        ExitCase{"FatalQuiet", {"/quiet"}, ExitCase::FatalFailure, 1603, false},
        ExitCase{"FatalPassive", {"/passive"}, ExitCase::FatalFailure, 1603, false},
        ExitCase{"UnsupportedQuiet", {"/quiet"}, ExitCase::Unsupported, 1633, false},
        // A printer list that cannot be read stops the run before any change.
        ExitCase{"OncePrintersUnreadable",
                 {"/quiet", "/once"},
                 ExitCase::PrintersUnreadable,
                 1603,
                 false},
        ExitCase{"CompletingPrintersUnreadable", {"/quiet"}, ExitCase::HalfInstalled, 1603, false},
        ExitCase{"RemovalPrintersUnreadable",
                 {"/quiet", "/uninstall"},
                 ExitCase::PrintersUnreadable,
                 1603,
                 false},
        ExitCase{"UnsupportedPassive", {"/passive"}, ExitCase::Unsupported, 1633, false},
        // Interactive runs keep their codes; the answer is given beforehand.
        ExitCase{"InteractiveForced", {"/forcerestart"}, ExitCase::Fresh, 0, true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(Unattended, InteractiveCodesStayAsTheyWere) {
  fake.failCall("AddPrinterA", 1797);
  EXPECT_EQ(run({"/norestart"}), kExitFailure);
  EXPECT_EQ(fake.messageBoxes().size(), 1u);  // the error box

  fake::FakePlatform machine;
  addDriverPackage(machine);
  machine.setVersion(2, 6, 4);
  OsTypeDialog os;
  PortTypeDialog port;
  EXPECT_EQ(
      runInstallFlow(machine.platform(), {}, os, port, machine, machine, optionsOf({"/port:COM1"})),
      kExitFailure);
  EXPECT_EQ(machine.messageBoxes().at(0).text, "This version of Windows is not supported.");
}

// A monitor the spooler refuses: the box goes to the log, the run goes on as
// far as it can, and ends as the half installation it is; the next run
// completes it without a second printer.
TEST_F(Unattended, ARefusedMonitorIsAFailureThatTheNextRunCompletes) {
  fake.setVersion(2, 5, 2);
  fake.failCall("AddMonitorA", 1722);
  EXPECT_EQ(run({"/passive", std::string("/log:") + kLogPath}), 1603);
  EXPECT_THAT(fake.messageBoxes(), IsEmpty());
  expectInOrder(
      {"AddMonitorA(\"DALVERA Language Monitor QLX957\", \"Windows NT x86\", "
       "\"QLMON957.DLL\"): failed, error 1722: The RPC server is unavailable.",
       "Status: Install print processor... [44%]",
       "Result: incomplete, a file, a registration or the uninstall entry could not be placed, "
       "exit code 1603"});
  fake.clearFaults();
  EXPECT_EQ(run({"/quiet"}), 3010);
  EXPECT_THAT(fake.installedMonitorNames(), Contains("DALVERA Language Monitor QLX957"));
  EXPECT_EQ(fake.installedPrinterNames().size(), 1u);
}

struct LogCase {
  const char* label;
  std::array<Dword, 3> version;  // major, minor, build on platform 2
  enum Machine { Plain, SixtyFourBit, QueryFails, NoRights, SpoolerSilent } machine;
  std::vector<std::string> lines;  // in this order, with others between
};

class LogSaysWhy : public Unattended, public ::testing::WithParamInterface<LogCase> {};

// The later versions by name, and why a machine is refused.
TEST_P(LogSaysWhy, NamesTheWindowsAndTheOutcome) {
  const LogCase& c = GetParam();
  fake.setVersion(2, c.version[0], c.version[1], c.version[2]);
  fake.setWow64(c.machine == LogCase::SixtyFourBit);
  fake.setAdministrator(c.machine != LogCase::NoRights);
  if (c.machine == LogCase::QueryFails) fake.failCall("IsWow64Process", 5);
  if (c.machine == LogCase::SpoolerSilent) fake.failCall("OpenPrinterA", 1722);
  run({"/quiet", std::string("/log:") + kLogPath});
  expectInOrder(c.lines);
  EXPECT_THAT(fake.messageBoxes(), IsEmpty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Machines, LogSaysWhy, ::testing::Values(
    LogCase{"Windows7", {6, 1, 7601}, LogCase::Plain,
            {"Windows: platform 2, version 6.1, build 7601 -> OsKind 2007 (Windows 7)",
             "Bits: 32 (not running under WOW64)", "Rights: the print server may be administered",
             "EnumPrinterDriversA(level 4): ok",
             "Result: installed, a restart is needed, exit code 3010"}},
    LogCase{"Windows10", {10, 0, 19045}, LogCase::Plain,
            {"Windows: platform 2, version 10.0, build 19045 -> OsKind 2007 (Windows 10)"}},
    LogCase{"Windows11", {10, 0, 22631}, LogCase::SixtyFourBit,
            {"Windows: platform 2, version 10.0, build 22631 -> OsKind 2007 (Windows 11)",
             "Bits: 64 (this 32-bit program runs under WOW64)",
             "Result: 64-bit Windows, not installed, exit code 1633"}},
    LogCase{"QueryFails", {6, 1, 7601}, LogCase::QueryFails,
            {"IsWow64Process Error Code: 5  Access is denied.",
             "Result: cannot tell 32-bit from 64-bit Windows, not installed, exit code 1603"}},
    LogCase{"NoAdministratorRights", {6, 0, 6002}, LogCase::NoRights,
            {"Windows: platform 2, version 6.0, build 6002 -> OsKind 2007 (Windows Vista)",
             "Rights: OpenPrinter of the print server for administering: error 5 (access denied)",
             "Result: no administrator rights, not installed, exit code 1603"}},
    LogCase{"SpoolerCannotBeAsked", {5, 1, 2600}, LogCase::SpoolerSilent,
            {"Rights: the print server cannot be asked (OpenPrinter error 1722); going on",
             "Result: installed, a restart is needed, exit code 3010"}}),
    [](const auto& info) { return std::string(info.param.label); });
// clang-format on

TEST_F(Unattended, FreshInstallationLog) {
  fake.setLocalTime(SystemTime{2027, 3, 1, 15, 8, 30, 0, 0});
  EXPECT_EQ(run({"/quiet", "/port:COM2", std::string("/log:") + kLogPath}), 3010);
  const std::vector<std::string> lines = logLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Windows: platform 2, version 5.1, build 2600 -> OsKind 2005 (Windows XP)");
  EXPECT_EQ(lines[1], "Mode: quiet (no window, no pauses)");
  EXPECT_EQ(lines[2],
            "Options: port COM2, overwrite version (default), restart never (default), log "
            "\"C:\\SETUP\\q.log\"");
  const std::string driverDirectory = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86";
  expectInOrder({
      "Status: Check drivers... [11%]",
      "EnumPrinterDriversA(level 3): ok",
      "Driver \"DALVERA QLX-957\" is not installed (0 drivers listed)",
      "Fresh installation",
      "Package: all 10 files are there",
      "Status: Add printer... [22%]",
      "Copy driverNT\\QLMON957.DLL -> C:\\WINDOWS\\system32\\QLMON957.DLL: copied",
      "Status: Install language monitor... [33%]",
      "AddMonitorA(\"DALVERA Language Monitor QLX957\", \"Windows NT x86\", \"QLMON957.DLL\"): "
      "ok",
      "AddPrintProcessorA(\"DALVERA PRINT PROCESSOR QLX957\", \"Windows NT x86\", "
      "\"QLPRO957.DLL\"): ok",
      "GetPrinterDriverDirectoryA: " + driverDirectory,
      "Copy driverNT\\RASDD.DLL -> " + driverDirectory + "\\RASDD.DLL: copied",
      "AddPrinterDriverA(\"DALVERA QLX-957\", \"Windows NT x86\", driver \"RASDD.DLL\", data "
      "\"QLX957E.DLL\", configuration \"QLUI957.DLL\"): ok",
      "Status: Install printer... [77%]",
      "AddPrinterA(\"DALVERA QLX-957\", port \"COM2:\", driver \"DALVERA QLX-957\", processor "
      "\"DALVERA PRINT PROCESSOR QLX957\"): ok",
      "Status: Delete installed files... [88%]",
      "Delete " + driverDirectory + "\\RASDD.DLL: deleted",
      "Delete " + driverDirectory + "\\QLMON957.DLL: not there",
      "Uninstall key HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DALVERA_QLX-"
      "957: create: ok",
      "Uninstall value \"DisplayName\" = \"DALVERA QLX-957 POS Windows Driver 3.1.1E\": ok",
      "Uninstall value \"DALVERA QLX-957\" = \"\": ok",
      "Uninstall value \"UninstallString\" = \"C:\\WINDOWS\\QLX-957\\QLX957_Uninstaller.exe\": ok",
      "Create folder C:\\WINDOWS\\QLX-957: created",
      "Copy QLX957_Uninstaller.exe -> C:\\WINDOWS\\QLX-957\\QLX957_Uninstaller.exe: copied",
      "Restart: not asked, not done (a restart is needed to complete)",
      "Status: Completed! [100%]",
      "Result: installed, a restart is needed, exit code 3010",
  });
}

TEST_F(Unattended, DriverPresentLogIsShortAndComplete) {
  preinstallDriver();
  EXPECT_EQ(run({"-QUIET", std::string("-log=") + kLogPath}), 0);
  EXPECT_THAT(
      logLines(),
      ElementsAre("Windows: platform 2, version 5.1, build 2600 -> OsKind 2005 (Windows XP)",
                  "Mode: quiet (no window, no pauses)",
                  "Options: port LPT1 (default), overwrite version (default), restart "
                  "never (default), log \"C:\\SETUP\\q.log\"",
                  "Bits: 32 (not running under WOW64)",
                  "Rights: the print server may be administered", "Status: Check drivers... [11%]",
                  "EnumPrinterDriversA(level 3): 143 bytes needed",
                  "EnumPrinterDriversA(level 3): ok", "Driver \"DALVERA QLX-957\" is installed",
                  "Installed: language monitor there, print processor there, uninstall entry "
                  "there, uninstaller files there",
                  "The installation is complete: adding a printer", "Status: Add printer... [22%]",
                  "OpenPrinterA(\"DALVERA QLX-957\"): exists",
                  "OpenPrinterA(\"DALVERA QLX-957(#1)\"): no such printer, the name is free",
                  "Status: Install printer... [33%]",
                  "AddPrinterA(\"DALVERA QLX-957(#1)\", port \"LPT1:\", driver \"DALVERA "
                  "QLX-957\", processor \"DALVERA PRINT PROCESSOR QLX957\"): ok",
                  "Status: Completed! [100%]", "Result: printer added, exit code 0"));
}

TEST_F(Unattended, FatalFailureLogEndsWithTheErrorAndTheCode) {
  fake.failCall("AddPrinterDriverA", 1021);
  fake.setSystemMessage(1021, "Cannot create a stable subkey under a volatile parent key.\r\n");
  EXPECT_EQ(run({"/quiet", std::string("/log:") + kLogPath}), 1603);
  const std::vector<std::string> lines = logLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3], "Status: Install printer driver... [66%]");
  EXPECT_EQ(lines[lines.size() - 2],
            "AddPrinterDriverA(\"DALVERA QLX-957\", \"Windows NT x86\", driver \"RASDD.DLL\", "
            "data \"QLX957E.DLL\", configuration \"QLUI957.DLL\"): failed, error 1021: Cannot "
            "create a stable subkey under a volatile parent key.");
  EXPECT_EQ(lines.back(), "Result: failed, exit code 1603");
  EXPECT_THAT(fake.messageBoxes(), IsEmpty());
}

TEST_F(Unattended, InteractiveErrorIsBothShownAndLogged) {
  fake.failCall("AddPrinterA", 1797);
  EXPECT_EQ(run({std::string("/log:") + kLogPath}), kExitFailure);
  ASSERT_EQ(fake.messageBoxes().size(), 1u);
  EXPECT_THAT(fake.messageBoxes()[0].text, HasSubstr("AddPrinter Error Code: 1797\n\n"));
  EXPECT_THAT(logLines(), Contains(HasSubstr("): failed, error 1797: ")));
  EXPECT_EQ(logLines().back(), "Result: failed, exit code 1");
}

TEST_F(Unattended, LogTellsWhyThePolicyKeptASharedFile) {
  fake.useWindows9xLayout();
  VsFixedFileInfo newer{};
  newer.dwSignature = kVsFixedFileInfoSignature;
  newer.dwFileVersionMS = 0x0005'0002;
  VsFixedFileInfo package = newer;
  package.dwFileVersionMS = 0x0004'000A;
  fake.addFile("C:\\WINDOWS\\SYSTEM\\unidrv.dll", fake::FakeFile{"installed", newer});
  fake.addFile("C:\\WINDOWS\\SYSTEM\\unidrv.hlp", fake::FakeFile{"installed help"});
  fake.addFile("C:\\SETUP\\driver9x\\unidrv.dll", fake::FakeFile{"package", package});
  EXPECT_EQ(run({"/quiet", "/overwrite:version", std::string("/log:") + kLogPath}), 3010);
  EXPECT_EQ(logLines().at(0),
            "Windows: platform 1, version 4.10, build 1998 (67766222 as reported) -> OsKind 2001 "
            "(Windows 98)");
  const std::string reason = " (by version: installed 5.2, package 4.10, package not newer)";
  expectInOrder({
      "Copy driver9x\\unidrv.dll -> C:\\WINDOWS\\SYSTEM\\unidrv.dll: kept the installed file" +
          reason,
      "Copy driver9x\\unidrv.hlp -> C:\\WINDOWS\\SYSTEM\\unidrv.hlp: kept the installed file" +
          reason,
  });
  EXPECT_EQ(fake.file("C:\\WINDOWS\\SYSTEM\\unidrv.dll")->contents, "installed");
}

TEST_F(Unattended, LogTellsTheTimesTheDatePolicyCompared) {
  fake.useWindows9xLayout();
  fake.addFile("C:\\WINDOWS\\SYSTEM\\unidrv.dll",
               fake::FakeFile{"installed", std::nullopt, 125911584000000000ull});
  fake.addFile("C:\\SETUP\\driver9x\\unidrv.dll",
               fake::FakeFile{"package", std::nullopt, 133536836960000000ull});
  run({"/quiet", "/overwrite:date", std::string("/log:") + kLogPath});
  expectInOrder(
      {"Copy driver9x\\unidrv.dll -> C:\\WINDOWS\\SYSTEM\\unidrv.dll: copied (by date: "
       "installed 2000-01-01 00:00:00 UTC, package 2024-02-29 12:34:56 UTC, package "
       "newer)"});
}

TEST_F(Unattended, FailedLogWritesNeverStopTheInstallation) {
  for (int occurrence = 1; occurrence <= 200; ++occurrence) {
    fake.failCall("WriteFile", 112, occurrence);
  }
  EXPECT_EQ(run({"/quiet", std::string("/log:") + kLogPath}), 3010);
  EXPECT_EQ(fake.installedPrinterNames(), std::vector<std::string>{"DALVERA QLX-957"});
  EXPECT_THAT(logLines(), IsEmpty());
}

TEST_F(Unattended, RestartDecisionIsLogged) {
  fake.queueMessageBoxAnswer(kIdYes);
  run({std::string("/log:") + kLogPath});
  expectInOrder({"Restart: asked, answer Yes", "Restart: requested", "Status: Completed! [100%]",
                 "Result: installed, exit code 0"});
}

}  // namespace
}  // namespace qlx::testing_support
