// The driver's whole life on a till as a deployment tool drives it: removal
// (/uninstall), the repeatable run (/once), any port the spooler lists.

#include <gmock/gmock.h>

#include <algorithm>
#include <map>
#include <memory>

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
using ::testing::StartsWith;

constexpr char kLogPath[] = "C:\\SETUP\\till().log";

// Everything of the machine an installation or removal touches.
struct MachineState {
  std::vector<std::string> printers, drivers, monitors, processors;
  std::map<std::string, std::string> files;
  bool uninstallEntry = false;
  bool operator==(const MachineState&) const = default;
};

class LifeOnATill : public ::testing::TestWithParam<Family> {
 protected:
  void SetUp() override { freshMachine(); }

  // Another till of the same family, with nothing installed.
  void freshMachine() {
    machine_ = std::make_unique<Installation>();
    machine_->prepare(GetParam());
  }
  Installation& till() const { return *machine_; }

  // The program started once with these options, as a new process.
  int run(const std::vector<std::string>& arguments) {
    const ParsedCommandLine parsed = parseArguments(arguments);
    EXPECT_TRUE(parsed.ok()) << parsed.error;
    // The flow configures its engine itself.
    Installation& t = till();
    t.installer = std::make_unique<PrinterInstaller>(t.fake.platform());
    t.installer->statusText = &t.fake.statusString;
    t.installer->progressBar = &t.fake;
    InstallLog log{till().fake};
    InstallLog* sink = nullptr;
    if (!parsed.options.logFile.empty() && log.open(parsed.options.logFile) == kErrorSuccess) {
      sink = &log;
    }
    if (parsed.options.mode == RunMode::Quiet) {
      till().installer->statusText = nullptr;
      till().installer->progressBar = nullptr;
    }
    OsTypeDialog os;
    PortTypeDialog port;
    return runInstallFlow(*till().installer, os, port, till().fake, till().fake, parsed.options,
                          sink);
  }

  MachineState state() const {
    const fake::FakePlatform& fake = till().fake;
    MachineState s;
    for (const fake::PrinterEntry& p : fake.installedPrinters()) {
      s.printers.push_back(p.name + " on " + p.port + " with " + p.driver);
    }
    s.drivers = fake.installedDriverNames();
    s.monitors = fake.installedMonitorNames();
    s.processors = fake.installedProcessorNames();
    std::vector<std::string> directories = till().installedDirectories();
    directories.push_back("C:\\WINDOWS");
    for (const std::string& directory : directories) {
      for (const std::string& name : fake.filesIn(directory)) {
        s.files[directory + "\\" + name] = fake.file(directory + "\\" + name)->contents;
      }
    }
    s.uninstallEntry = fake.registryKeyExists(kUninstallKey);
    // The spooler's order is no part of what is installed.
    for (auto* list : {&s.printers, &s.drivers, &s.monitors, &s.processors}) {
      std::sort(list->begin(), list->end());
    }
    return s;
  }

  std::string logText() const {
    const fake::FakeFile* file = till().fake.file(kLogPath);
    return file == nullptr ? std::string() : file->contents;
  }

  std::vector<std::string> errorBoxes() const {
    std::vector<std::string> texts;
    for (const fake::MessageBoxRecord& box : till().fake.messageBoxes()) {
      if (box.applicationBox) texts.push_back(box.text);
    }
    return texts;
  }

  bool ownFileLeft() const {
    for (const auto& [path, contents] : state().files) {
      for (const char* own : {"QLMON957.DLL", "QLPRO957.DLL", "QLX957E.DLL", "QLUI957.DLL",
                              "QLX957E.DRV", "QLX957E.GPD", "QLUI957.INI", "vantrix.dll"}) {
        if (path.ends_with(std::string("\\") + own)) return true;
      }
    }
    return false;
  }

  std::unique_ptr<Installation> machine_;
};

INSTANTIATE_TEST_SUITE_P(AllFamilies, LifeOnATill,
                         ::testing::Values(Family::Win2000, Family::WinNt, Family::Win9x),
                         [](const auto& info) { return std::string(familyName(info.param)); });

// ---- removal

TEST_P(LifeOnATill, RemovalTakesAwayEveryPrinterAndEverythingOfTheProductOnly) {
  ASSERT_EQ(run({"/quiet"}), 3010);
  ASSERT_EQ(run({"/quiet", "/port:COM2"}), 0);
  till().fake.addInstalledPrinter("Receipts", "Generic / Text Only", "COM3:");
  // A printer with jobs queued only goes once they are purged.
  till().fake.addInstalledPrinter("Kitchen", "DALVERA QLX-957", "LPT2:", 4);

  EXPECT_EQ(run({"/uninstall", "/quiet", std::string("/log:") + kLogPath}), 3010);
  const MachineState after = state();
  EXPECT_THAT(after.printers, ElementsAre("Receipts on COM3: with Generic / Text Only"));
  EXPECT_THAT(after.drivers, IsEmpty());
  EXPECT_THAT(after.monitors, Not(Contains("DALVERA Language Monitor QLX957")));
  EXPECT_THAT(after.processors, ElementsAre("WinPrint"));
  EXPECT_FALSE(after.uninstallEntry);
  EXPECT_FALSE(till().fake.directoryExists("C:\\WINDOWS\\QLX-957"));
  // The shared universal driver files stay for the other drivers.
  const std::string shared = GetParam() == Family::Win9x ? "C:\\WINDOWS\\SYSTEM\\unidrv.dll"
                             : GetParam() == Family::WinNt
                                 ? till().driverDirectory() + "\\3\\RASDD.DLL"
                                 : till().driverDirectory() + "\\3\\UNIDRV.DLL";
  EXPECT_TRUE(till().fake.fileExists(shared));
  // The libraries the spooler held go when Windows starts again; Windows NT
  // keeps them aside until then, so that their names are free at once.
  const std::string monitor = till().systemDirectory() + "\\QLMON957.DLL";
  EXPECT_TRUE(till().fake.fileExists(GetParam() == Family::Win9x ? monitor : monitor + ".old"));
  EXPECT_THAT(logText(), HasSubstr("in use, deleted when Windows starts again"));
  till().fake.restartWindows();
  EXPECT_FALSE(till().fake.fileExists(monitor + ".old"));
  EXPECT_FALSE(ownFileLeft());
  EXPECT_THAT(errorBoxes(), IsEmpty());
}

TEST_P(LifeOnATill, AfterARemovalTheNextInstallationIsAFreshOne) {
  ASSERT_EQ(run({"/quiet"}), 3010);
  const MachineState once = state();
  ASSERT_EQ(run({"/uninstall", "/quiet"}), 3010);
  till().fake.restartWindows();
  EXPECT_EQ(run({"/quiet"}), 3010);
  const MachineState again = state();
  EXPECT_EQ(again.printers, once.printers);
  EXPECT_EQ(again.drivers, once.drivers);
  EXPECT_EQ(again.monitors, once.monitors);
  EXPECT_EQ(again.processors, once.processors);
  EXPECT_EQ(again.files, once.files);
  EXPECT_EQ(again.uninstallEntry, once.uninstallEntry);
  EXPECT_THAT(till().fake.installedPrinterNames(), ElementsAre("DALVERA QLX-957"));
}

// The spooler holds the old libraries until Windows starts again. Windows NT
// lets them be moved aside, so installing again works at once; Windows 9x
// cannot replace them before the start, and says so.
TEST_P(LifeOnATill, InstallingAgainBeforeTheRestart) {
  ASSERT_EQ(run({"/quiet"}), 3010);
  ASSERT_EQ(run({"/uninstall", "/quiet"}), 3010);
  const bool win9x = GetParam() == Family::Win9x;
  EXPECT_EQ(run({"/quiet"}), win9x ? 1603 : 3010);
  till().fake.restartWindows();
  if (win9x) EXPECT_EQ(run({"/quiet"}), 3010);  // after the start the run completes it
  const std::string monitor = till().systemDirectory() + "\\QLMON957.DLL";
  ASSERT_TRUE(till().fake.fileExists(monitor));
  EXPECT_EQ(till().fake.file(monitor)->contents, "package QLMON957.DLL");
  EXPECT_FALSE(till().fake.fileExists(monitor + ".old"));
  EXPECT_THAT(till().fake.installedMonitorNames(), Contains("DALVERA Language Monitor QLX957"));
  EXPECT_TRUE(till().fake.registryKeyExists(kUninstallKey));
  EXPECT_THAT(till().fake.installedPrinterNames(), ElementsAre("DALVERA QLX-957"));
}

// An upgrade whose removal left the old library loaded (the spooler did not
// let it go): on Windows NT the copy moves it aside and goes on.
TEST_P(LifeOnATill, ACopyOntoALibraryInUseMovesItAsideOnWindowsNt) {
  if (GetParam() == Family::Win9x) GTEST_SKIP() << "Windows 9x cannot rename a library in use";
  const std::string monitor = till().systemDirectory() + "\\QLMON957.DLL";
  fake::FakeFile old{"old monitor"};
  old.loaded = true;
  till().fake.addFile(monitor, old);
  EXPECT_EQ(run({"/quiet", std::string("/log:") + kLogPath}), 3010);
  EXPECT_EQ(till().fake.file(monitor)->contents, "package QLMON957.DLL");
  EXPECT_THAT(logText(), HasSubstr(" aside: in use until Windows starts again"));
  EXPECT_THAT(till().fake.deletionsAtRestart(), ElementsAre(monitor + ".old"));
}

TEST_P(LifeOnATill, RemovalOfAPartialInstallationTakesWhatIsThere) {
  struct Partial {
    const char* label;
    std::function<void(Installation&)> leave;
  };
  const Partial partials[] = {
      {"a failed run's monitor alone",
       [](Installation& t) {
         t.fake.addInstalledMonitor("DALVERA Language Monitor QLX957", "QLMON957.DLL");
       }},
      {"the uninstall entry alone", [](Installation& t) { t.fake.addRegistryKey(kUninstallKey); }},
      {"the driver and a staged file",
       [](Installation& t) {
         t.preinstallDriver();
         t.fake.addFile(t.driverDirectory() + "\\" + t.installer->driverFile);
       }},
  };
  for (const Partial& partial : partials) {
    SCOPED_TRACE(partial.label);
    freshMachine();
    partial.leave(till());
    const int status = run({"/uninstall", "/quiet"});
    EXPECT_TRUE(status == 0 || status == 3010) << status;
    till().fake.restartWindows();
    EXPECT_THAT(till().fake.installedDriverNames(), IsEmpty());
    EXPECT_THAT(till().fake.installedMonitorNames(), IsEmpty());
    EXPECT_FALSE(till().fake.registryKeyExists(kUninstallKey));
    EXPECT_FALSE(ownFileLeft());
  }
}

TEST_P(LifeOnATill, NothingInstalledIsUnknownToTheDeploymentTool) {
  EXPECT_EQ(run({"/uninstall", "/quiet", std::string("/log:") + kLogPath}), 1605);
  EXPECT_THAT(logText(), HasSubstr("The DALVERA QLX-957 driver is not installed.\r\n"));
  EXPECT_EQ(run({"/uninstall"}), 0);
  EXPECT_THAT(till().fake.messageBoxes().back().text,
              "The DALVERA QLX-957 driver is not installed.");
  EXPECT_THAT(till().fake.callTexts("DeleteFileA"), IsEmpty());
}

TEST_P(LifeOnATill, AttendedRemovalAsksFirstNamingThePrinters) {
  run({"/quiet"});
  run({"/quiet"});
  const MachineState installed = state();
  till().fake.queueMessageBoxAnswer(kIdNo);
  EXPECT_EQ(run({"/uninstall"}), 0);
  ASSERT_FALSE(till().fake.messageBoxes().empty());
  const fake::MessageBoxRecord& question = till().fake.messageBoxes().back();
  EXPECT_EQ(question.text,
            "Remove the DALVERA QLX-957 driver from this computer?\n\nThese printers are removed "
            "with their print jobs:\nDALVERA QLX-957\nDALVERA QLX-957(#1)");
  EXPECT_EQ(question.caption, "DALVERA QLX-957 installer");
  EXPECT_EQ(question.type, kMbYesNo | kMbIconQuestion);
  EXPECT_EQ(state(), installed);  // No changes nothing

  till().fake.queueMessageBoxAnswer(kIdYes);  // remove
  till().fake.queueMessageBoxAnswer(kIdNo);   // no restart now
  EXPECT_EQ(run({"/uninstall"}), 0);
  EXPECT_THAT(till().fake.installedPrinterNames(), IsEmpty());
  EXPECT_EQ(till().fake.statusString, "Completed!");
  EXPECT_THAT(till().fake.messageBoxes().back().text, StartsWith("Restart the computer"));
}

struct DeleteFailure {
  const char* call;
  const char* box;  // the start of the error box
};

TEST_P(LifeOnATill, AFailedDeletionIsShownAndTheRestIsStillRemoved) {
  const DeleteFailure failures[] = {
      {"DeletePrinter", "DeletePrinter Error Code: 5\n\n"},
      {"DeletePrinterDriverA", "DeletePrinterDriver Error Code: 5\n\n"},
      {"DeletePrintProcessorA", "DeletePrintProcessor Error Code: 5\n\n"},
      {"DeleteMonitorA", "DeleteMonitor Error Code: 5\n\n"},
      {"RegDeleteKeyA", "RegDeleteKey Error Code: 5\n\n"},
      {"EnumPrintersA", "DeletePrinterDriver Error Code: 3001\n\n"},
  };
  for (const DeleteFailure& failure : failures) {
    for (const bool attended : {false, true}) {
      SCOPED_TRACE(std::string(failure.call) + (attended ? " attended" : " unattended"));
      freshMachine();
      ASSERT_EQ(run({"/quiet"}), 3010);
      till().fake.clearCalls();
      till().fake.failCall(failure.call, kErrorAccessDenied, 1);
      if (std::string(failure.call) == "EnumPrintersA") {
        till().fake.failCall(failure.call, kErrorAccessDenied, 2);
      }
      till().fake.queueMessageBoxAnswer(kIdYes);
      const std::size_t boxes = till().fake.messageBoxes().size();
      if (attended) {
        EXPECT_EQ(run({"/uninstall", "/norestart"}), 1);
        EXPECT_THAT(errorBoxes(), Contains(StartsWith(failure.box)));
      } else {
        EXPECT_EQ(run({"/uninstall", "/passive"}), 1603);
        EXPECT_EQ(till().fake.messageBoxes().size(), boxes);  // the log only
      }
      // What did not depend on the failed step went all the same.
      EXPECT_FALSE(till().fake.directoryExists("C:\\WINDOWS\\QLX-957"));
      EXPECT_EQ(till().fake.installedPrinterNames().empty(),
                std::string(failure.call) != "DeletePrinter" &&
                    std::string(failure.call) != "EnumPrintersA");
    }
  }
}

TEST_P(LifeOnATill, ADeleteFunctionThisWindowsLacksIsNamedAndTheRestGoes) {
  ASSERT_EQ(run({"/quiet"}), 3010);
  till().fake.failCall("DeleteMonitorA", kErrorProcNotFound);
  EXPECT_EQ(run({"/uninstall", "/quiet", std::string("/log:") + kLogPath}), 1603);
  EXPECT_THAT(logText(), HasSubstr("DeleteMonitorA(\"DALVERA Language Monitor QLX957\"): failed, "
                                   "error 127: The specified procedure could not be found."));
  EXPECT_THAT(till().fake.installedDriverNames(), IsEmpty());
  EXPECT_FALSE(till().fake.registryKeyExists(kUninstallKey));
}

// ---- the repeatable run

TEST_P(LifeOnATill, OnceChangesNothingWhereTheInstallationIsComplete) {
  EXPECT_EQ(run({"/once", "/quiet", std::string("/log:") + kLogPath}), 3010);
  const MachineState installed = state();
  till().fake.clearCalls();
  EXPECT_EQ(run({"/once", "/quiet", std::string("/log:") + kLogPath}), 0);
  EXPECT_EQ(state(), installed);
  EXPECT_THAT(till().fake.callTexts("AddPrinterA"), IsEmpty());
  EXPECT_THAT(logText(), HasSubstr("The DALVERA QLX-957 driver is already installed. Nothing was "
                                   "changed (/once).\r\nResult: already installed, exit code 0"));
  EXPECT_EQ(run({"/once"}), 0);
  EXPECT_EQ(till().fake.messageBoxes().back().text,
            "The DALVERA QLX-957 driver is already installed.");
  EXPECT_EQ(till().fake.osDialogRuns(), 0);
}

TEST_P(LifeOnATill, OnceCompletesAPartialInstallation) {
  till().preinstallDriver();
  EXPECT_EQ(run({"/once", "/passive"}), 3010);
  EXPECT_THAT(till().fake.installedPrinterNames(), ElementsAre("DALVERA QLX-957"));
  EXPECT_TRUE(till().fake.registryKeyExists(kUninstallKey));
}

// ---- any port the spooler lists

TEST_P(LifeOnATill, AnyPortTheSpoolerListsIsTakenWithoutCaseOrColon) {
  till().fake.addPort("USB001");
  till().fake.addPort("COM5:");
  struct Case {
    const char* given;
    const char* created;
  };
  for (const Case& c : {Case{"USB001", "USB001"}, Case{"usb001", "USB001"}, Case{"COM5", "COM5:"},
                        Case{"com5:", "COM5:"}, Case{"FILE:", "FILE:"}}) {
    SCOPED_TRACE(c.given);
    till().fake.clearCalls();
    run({"/quiet", std::string("/port:") + c.given});
    ASSERT_FALSE(till().fake.printerCalls().empty());
    EXPECT_EQ(till().fake.printerCalls().back().portName, c.created);
  }
}

TEST_P(LifeOnATill, APortTheSpoolerDoesNotListIsABadCommandLine) {
  till().fake.addPort("USB001");
  EXPECT_EQ(run({"/passive", "/port:USB002", std::string("/log:") + kLogPath}), 87);
  EXPECT_THAT(logText(),
              HasSubstr("Bad command line: \"/port:USB002\": this computer has no port USB002; its "
                        "ports are COM1:, COM2:, COM3:, COM4:, LPT1:, LPT2:, LPT3:, FILE:, "
                        "USB001.\r\nResult: nothing installed, exit code 87"));
  EXPECT_THAT(till().fake.printerCalls(), IsEmpty());
  EXPECT_THAT(till().fake.callTexts("CopyFileA"), IsEmpty());

  till().fake.clearCalls();
  till().fake.failCall("EnumPortsA", 1722, 2);
  EXPECT_EQ(run({"/quiet", "/port:USB001"}), 87);
}

}  // namespace
}  // namespace qlx::testing_support
