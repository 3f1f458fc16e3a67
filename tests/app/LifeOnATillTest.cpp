// The driver's whole life on a till as a deployment tool drives it: removal
// (/uninstall), the repeatable run (/once), any port the spooler lists.

#include <gmock/gmock.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <utility>

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

void PrintTo(const MachineState& state, std::ostream* out) {
  *out << "\n  printers: " << ::testing::PrintToString(state.printers)
       << "\n  drivers: " << ::testing::PrintToString(state.drivers)
       << "\n  monitors: " << ::testing::PrintToString(state.monitors)
       << "\n  processors: " << ::testing::PrintToString(state.processors)
       << "\n  entry: " << state.uninstallEntry;
  for (const auto& [path, contents] : state.files) *out << "\n  " << path << ": " << contents;
}

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
    Installation& t = till();
    ProgressView view{&t.fake.statusString, &t.fake};
    InstallLog log{till().fake};
    InstallLog* sink = nullptr;
    if (!parsed.options.logFile.empty() && log.open(parsed.options.logFile) == kErrorSuccess) {
      sink = &log;
    }
    if (parsed.options.mode == RunMode::Quiet) view = {};
    OsTypeDialog os;
    PortTypeDialog port;
    return runInstallFlow(t.fake.platform(), view, os, port, t.fake, t.fake, parsed.options, sink);
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

  // The registered monitor and print processor of the product, with the
  // library each is loaded from.
  std::vector<std::pair<std::string, std::string>> registeredLibraries() const {
    std::vector<std::pair<std::string, std::string>> libraries;
    const std::vector<std::string> monitors = till().fake.installedMonitorNames();
    if (std::find(monitors.begin(), monitors.end(), "DALVERA Language Monitor QLX957") !=
        monitors.end()) {
      libraries.emplace_back("the monitor", till().systemDirectory() + "\\QLMON957.DLL");
    }
    const std::vector<std::string> processors = till().fake.installedProcessorNames();
    if (std::find(processors.begin(), processors.end(), "DALVERA PRINT PROCESSOR QLX957") !=
        processors.end()) {
      libraries.emplace_back("the print processor", till().processorDirectory() + "\\QLPRO957.DLL");
    }
    return libraries;
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
// puts the new ones in their place when it starts, through WININIT.INI.
TEST_P(LifeOnATill, InstallingAgainBeforeTheRestart) {
  ASSERT_EQ(run({"/quiet"}), 3010);
  ASSERT_EQ(run({"/uninstall", "/quiet"}), 3010);
  EXPECT_EQ(run({"/quiet"}), 3010);
  till().fake.restartWindows();
  const std::string monitor = till().systemDirectory() + "\\QLMON957.DLL";
  ASSERT_TRUE(till().fake.fileExists(monitor));
  EXPECT_EQ(till().fake.file(monitor)->contents, "package QLMON957.DLL");
  EXPECT_FALSE(till().fake.fileExists(monitor + ".old"));
  EXPECT_FALSE(till().fake.fileExists(monitor + ".qlx-new"));
  EXPECT_THAT(till().fake.installedMonitorNames(), Contains("DALVERA Language Monitor QLX957"));
  EXPECT_TRUE(till().fake.registryKeyExists(kUninstallKey));
  EXPECT_THAT(till().fake.installedPrinterNames(), ElementsAre("DALVERA QLX-957"));
  EXPECT_EQ(run({"/once", "/quiet"}), 0);  // complete
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
         t.fake.addFile(t.driverDirectory() + "\\" + t.names.driverFile);
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

// A removal that fails part way keeps whatever depends on what stayed: a
// printer its driver and files, the driver its monitor, and every one of
// them the entry, so that the next removal completes it.
struct DeleteFailure {
  const char* call;
  const char* box;                           // the start of the error box
  bool printer, driver, processor, monitor;  // what stays
  // The removal stops before any change: nothing of it is shown as done.
  bool stopsBeforeStarting = false;
};

TEST_P(LifeOnATill, ARemovalThatFailsKeepsWhatDependsOnWhatStays) {
  const DeleteFailure failures[] = {
      {"DeletePrinter", "DeletePrinter Error Code: 5\n\n", true, true, true, true},
      {"EnumPrintersA", "EnumPrinters Error Code: 5\n\n", true, true, true, true, true},
      {"DeletePrinterDriverA", "DeletePrinterDriver Error Code: 5\n\n", false, true, false, true},
      {"DeletePrintProcessorA", "DeletePrintProcessor Error Code: 5\n\n", false, false, true,
       false},
      {"DeleteMonitorA", "DeleteMonitor Error Code: 5\n\n", false, false, false, true},
      {"RegDeleteKeyA", "RegDeleteKey Error Code: 5\n\n", false, false, false, false},
  };
  const std::string driverFile = GetParam() == Family::Win9x
                                     ? till().driverDirectory() + "\\QLX957E.DRV"
                                     : till().driverDirectory() + "\\3\\QLX957E.DLL";
  for (const DeleteFailure& failure : failures) {
    for (const bool attended : {false, true}) {
      SCOPED_TRACE(std::string(failure.call) + (attended ? " attended" : " unattended"));
      freshMachine();
      ASSERT_EQ(run({"/quiet"}), 3010);
      till().fake.restartWindows();
      till().fake.clearCalls();
      till().fake.failCall(failure.call, kErrorAccessDenied, 1);
      till().fake.failCall(failure.call, kErrorAccessDenied, 2);  // a list's size, then the list
      till().fake.queueMessageBoxAnswer(kIdYes);
      const std::size_t boxes = till().fake.messageBoxes().size();
      if (attended) {
        EXPECT_EQ(run({"/uninstall", "/norestart"}), 1);
        EXPECT_THAT(errorBoxes(), Contains(StartsWith(failure.box)));
        EXPECT_THAT(
            errorBoxes().back(),
            StartsWith(failure.stopsBeforeStarting ? failure.box : "The removal is not complete."));
      } else {
        EXPECT_EQ(run({"/uninstall", "/passive"}), 1603);
        EXPECT_EQ(till().fake.messageBoxes().size(), boxes);  // the log only
      }
      till().fake.restartWindows();
      const MachineState after = state();
      EXPECT_EQ(!after.printers.empty(), failure.printer);
      EXPECT_EQ(!after.drivers.empty(), failure.driver);
      EXPECT_EQ(till().fake.fileExists(driverFile), failure.driver);
      EXPECT_EQ(std::find(after.processors.begin(), after.processors.end(),
                          "DALVERA PRINT PROCESSOR QLX957") != after.processors.end(),
                failure.processor);
      EXPECT_EQ(till().fake.fileExists(till().processorDirectory() + "\\QLPRO957.DLL"),
                failure.processor);
      EXPECT_EQ(std::find(after.monitors.begin(), after.monitors.end(),
                          "DALVERA Language Monitor QLX957") != after.monitors.end(),
                failure.monitor);
      EXPECT_EQ(till().fake.fileExists(till().systemDirectory() + "\\QLMON957.DLL"),
                failure.monitor);
      EXPECT_TRUE(after.uninstallEntry);  // to try again

      till().fake.clearFaults();
      const int again = run({"/uninstall", "/quiet"});
      EXPECT_TRUE(again == 0 || again == 3010) << again;
      till().fake.restartWindows();
      EXPECT_THAT(till().fake.installedPrinterNames(), IsEmpty());
      EXPECT_THAT(till().fake.installedDriverNames(), IsEmpty());
      EXPECT_FALSE(till().fake.registryKeyExists(kUninstallKey));
      EXPECT_FALSE(ownFileLeft());
    }
  }
}

// What another driver or printer uses stays through a removal, which is
// complete all the same: a file another driver lists, the print processor a
// printer of another driver uses, and Windows 9x's shared USB monitor.
TEST_P(LifeOnATill, ARemovalLeavesWhatOthersUse) {
  const bool win9x = GetParam() == Family::Win9x;
  ASSERT_EQ(run({"/quiet"}), 3010);
  till().fake.restartWindows();
  const std::string shared = win9x ? till().driverDirectory() + "\\vantrix.dll"
                                   : till().driverDirectory() + "\\3\\QLUI957.DLL";
  DriverInfo3 other{};
  other.pName = "Another POS printer";
  other.pEnvironment = till().environment();
  other.pDependentFiles = "";
  other.pConfigFile = shared.c_str();
  till().fake.addInstalledDriver(other);
  till().fake.addInstalledPrinter("Kitchen", "Another POS printer", "COM3:", 0,
                                  "DALVERA PRINT PROCESSOR QLX957");
  const int status = run({"/uninstall", "/quiet"});
  EXPECT_TRUE(status == 0 || status == 3010) << status;
  till().fake.restartWindows();
  EXPECT_THAT(till().fake.installedDriverNames(), ElementsAre("Another POS printer"));
  EXPECT_TRUE(till().fake.fileExists(shared));
  EXPECT_THAT(till().fake.installedProcessorNames(), Contains("DALVERA PRINT PROCESSOR QLX957"));
  EXPECT_TRUE(till().fake.fileExists(till().processorDirectory() + "\\QLPRO957.DLL"));
  EXPECT_FALSE(till().fake.registryKeyExists(kUninstallKey));
  if (win9x) {
    EXPECT_THAT(till().fake.installedMonitorNames(), Contains("usbmon.dll"));
    EXPECT_TRUE(till().fake.fileExists(till().systemDirectory() + "\\usbmon.dll"));
  }
}

TEST_P(LifeOnATill, ADeleteFunctionThisWindowsLacksIsNamedAndTheRestGoes) {
  ASSERT_EQ(run({"/quiet"}), 3010);
  till().fake.failCall("DeleteMonitorA", kErrorProcNotFound);
  EXPECT_EQ(run({"/uninstall", "/quiet", std::string("/log:") + kLogPath}), 1603);
  EXPECT_THAT(logText(), HasSubstr("DeleteMonitorA(\"DALVERA Language Monitor QLX957\"): failed, "
                                   "error 127: The specified procedure could not be found."));
  EXPECT_THAT(logText(),
              HasSubstr("These stay, for a later removal to take: the language monitor"));
  EXPECT_THAT(till().fake.installedDriverNames(), IsEmpty());
}

// ---- the update from a newer package

constexpr std::uint64_t kNextRelease = 134'000'000'000'000'000ull;  // a FILETIME in 2025

// The next release's package: every file one version up and dated later.
void newerPackage(Installation& till, Family family, bool newer = true) {
  const auto put = [&](const std::string& path, const std::string& name) {
    fake::FakeFile file{(newer ? "newer " : "package ") + name};
    if (newer) {
      file.version = VsFixedFileInfo{kVsFixedFileInfoSignature, 0, 0x0003'0001, 0x0002'0000};
      file.lastWrite = kNextRelease;
    }
    till.fake.addFile(path, file);
  };
  for (const std::string& name : packageFiles(family)) put(sourceFolder(family) + name, name);
  for (const std::string& name : uninstallerFiles()) put("C:\\SETUP\\" + name, name);
}

std::vector<std::string> printersWithJobs(const fake::FakePlatform& fake) {
  std::vector<std::string> printers;
  for (const fake::PrinterEntry& p : fake.installedPrinters()) {
    printers.push_back(p.name + " on " + p.port + ", " + std::to_string(p.queuedJobs) + " jobs");
  }
  return printers;
}

// The spooler's own way: the driver added again over staged files takes the
// newer ones; the libraries it holds are replaced as Windows allows; no
// printer is added, removed or changed.
TEST_P(LifeOnATill, ANewerPackageUpdatesInPlaceAndKeepsEveryPrinter) {
  const bool win9x = GetParam() == Family::Win9x;
  ASSERT_EQ(run({"/quiet", "/port:COM2"}), 3010);
  till().fake.addInstalledPrinter("Kitchen", "DALVERA QLX-957", "LPT2:", 3);
  till().fake.restartWindows();  // the spooler holds the monitor and processor
  const std::vector<std::string> printers = printersWithJobs(till().fake);
  const std::size_t printersAdded = till().fake.printerCalls().size();
  newerPackage(till(), GetParam());
  till().fake.clearCalls();

  EXPECT_EQ(run({"/once", "/quiet", std::string("/log:") + kLogPath}), 3010);
  EXPECT_EQ(printersWithJobs(till().fake), printers);
  EXPECT_EQ(till().fake.printerCalls().size(), printersAdded);
  const std::string monitor = till().systemDirectory() + "\\QLMON957.DLL";
  const std::string driver = win9x ? till().driverDirectory() + "\\QLX957E.DRV"
                                   : till().driverDirectory() + "\\3\\QLX957E.DLL";
  EXPECT_EQ(till().fake.file(driver)->contents, "newer " + driver.substr(driver.rfind('\\') + 1));
  EXPECT_EQ(till().fake.file(monitor)->contents,
            win9x ? "package QLMON957.DLL" : "newer QLMON957.DLL");  // 9x: at the start
  EXPECT_EQ(till().fake.file("C:\\WINDOWS\\QLX-957\\QLX957_Uninstaller.exe")->contents,
            "newer QLX957_Uninstaller.exe");
  EXPECT_THAT(logText(), HasSubstr("Update " + monitor +
                                   " (installed 1601-01-01 00:00:00 UTC, "
                                   "package 3.1.2.0)"));
  EXPECT_THAT(logText(), HasSubstr("Result: updated, a restart completes it, exit code 3010"));
  if (!win9x) {
    EXPECT_FALSE(till().fake.fileExists(till().driverDirectory() + "\\QLX957E.DLL"));  // unstaged
  }

  till().fake.restartWindows();
  EXPECT_EQ(till().fake.file(monitor)->contents, "newer QLMON957.DLL");
  EXPECT_EQ(till().fake.file(till().processorDirectory() + "\\QLPRO957.DLL")->contents,
            "newer QLPRO957.DLL");
  EXPECT_FALSE(till().fake.fileExists(monitor + ".old"));
  EXPECT_FALSE(till().fake.fileExists(monitor + ".qlx-new"));
  EXPECT_EQ(run({"/once", "/quiet"}), 0);  // nothing newer any more
  EXPECT_EQ(run({"/quiet"}), 0);           // the same package once more: one printer more
  EXPECT_EQ(till().fake.installedPrinters().size(), printers.size() + 1);
}

TEST_P(LifeOnATill, AnAttendedUpdateShowsItsStepsThenAsksForTheRestart) {
  ASSERT_EQ(run({"/quiet"}), 3010);
  till().fake.restartWindows();
  newerPackage(till(), GetParam());
  till().fake.queueMessageBoxAnswer(kIdNo);
  EXPECT_EQ(run({}), 0);
  std::vector<std::string> statuses;
  for (const auto& [status, bar] : till().statusTrail()) statuses.push_back(status);
  std::vector<std::string> expected = {
      GetParam() == Family::Win9x ? "Check driver...\r\n" : "Check drivers...\r\n",
      "Copy files...\r\n", "Install printer driver...\r\n"};
  if (GetParam() != Family::Win9x) expected.push_back("Delete installed files...\r\n");
  expected.push_back("Completed!");
  EXPECT_EQ(std::vector<std::string>(statuses.end() - expected.size(), statuses.end()), expected);
  EXPECT_THAT(till().fake.messageBoxes().back().text, StartsWith("Restart the computer"));
}

// A package older than what is installed takes today's path: one printer
// more, and every newer installed file stays, named in the log.
TEST_P(LifeOnATill, AnOlderPackageReplacesNothing) {
  newerPackage(till(), GetParam());
  ASSERT_EQ(run({"/quiet"}), 3010);
  newerPackage(till(), GetParam(), false);
  EXPECT_EQ(run({"/quiet", std::string("/log:") + kLogPath}), 0);
  EXPECT_EQ(till().fake.installedPrinters().size(), 2u);
  EXPECT_EQ(till().fake.file(till().systemDirectory() + "\\QLMON957.DLL")->contents,
            "newer QLMON957.DLL");
  EXPECT_THAT(logText(), HasSubstr("Installed file newer than the package's, kept: " +
                                   till().systemDirectory() + "\\QLMON957.DLL"));
}

// Each new copy that cannot take its name leaves the older file working
// under it, with no deletion pending for it; the next run completes it.
TEST_P(LifeOnATill, AReplacementThatFailsKeepsTheOlderFile) {
  const auto prepared = [this] {
    freshMachine();
    EXPECT_EQ(run({"/quiet"}), 3010);
    till().fake.restartWindows();
    newerPackage(till(), GetParam());
    till().fake.clearCalls();
  };
  prepared();
  ASSERT_EQ(run({"/quiet"}), 3010);
  // Every rename of a new copy onto its name, in the update's order.
  std::vector<std::pair<std::string, int>> placements;
  std::map<std::string, int> seen;
  for (const fake::Call& call : till().fake.calls()) {
    if (call.name != "MoveFileExA" && call.name != "MoveFileA") continue;
    ++seen[call.name];
    if (call.args.at(0).ends_with(".qlx-new"))
      placements.emplace_back(call.args.at(1), seen[call.name]);
  }
  ASSERT_FALSE(placements.empty());
  for (const auto& [target, occurrence] : placements) {
    SCOPED_TRACE(target);
    prepared();
    // A file staged for the spooler replaces nothing: the driver stays whole.
    // (The universal driver files of 9x follow the overwrite policy alone.)
    if (!till().fake.fileExists(target) || target.find("\\unidrv.") != std::string::npos) continue;
    const std::string before = till().fake.file(target)->contents;
    till().fake.failCall(GetParam() == Family::Win9x ? "MoveFileA" : "MoveFileExA", 112,
                         occurrence);
    EXPECT_EQ(run({"/quiet"}), 1603);
    ASSERT_TRUE(till().fake.fileExists(target));
    EXPECT_EQ(till().fake.file(target)->contents, before);
    EXPECT_THAT(till().fake.deletionsAtRestart(), Not(Contains(target)));
    till().fake.restartWindows();
    ASSERT_TRUE(till().fake.fileExists(target));
    const int again = run({"/quiet"});  // the update, completed
    EXPECT_TRUE(again == 0 || again == 3010) << again;
    till().fake.restartWindows();
    EXPECT_THAT(till().fake.file(target)->contents, StartsWith("newer "));
  }
}

// ---- refused machines

// 64-bit Windows, a WOW64 question that fails and a user who may not
// administer the print server: refused in every mode before anything changes.
TEST_P(LifeOnATill, ARefusedMachineIsLeftAsItWas) {
  if (GetParam() == Family::Win9x) {
    // Without the WOW64 question and without rights to ask for, it installs.
    till().fake.setWow64(std::nullopt);
    till().fake.setAdministrator(false);
    EXPECT_EQ(run({"/quiet"}), 3010);
    EXPECT_THAT(till().fake.callTexts("OpenPrinterA"),
                Not(Contains("OpenPrinterA(null, {access 1})")));
    return;
  }
  struct Refusal {
    const char* label;
    std::function<void(fake::FakePlatform&)> arrange;
    int unattendedCode;
    std::string box;
  };
  const Refusal refusals[] = {
      {"64-bit", [](fake::FakePlatform& f) { f.setWow64(true); }, 1633,
       "This driver package has no driver for 64-bit Windows: the DALVERA QLX-957 driver can be "
       "installed on 32-bit Windows only.\n\nNothing was changed."},
      {"WOW64 query fails",
       [](fake::FakePlatform& f) {
         f.clearCalls();
         f.failCall("IsWow64Process", 6);
       },
       1603, "IsWow64Process Error Code: 6\n\nThe handle is invalid.\r\n"},
      {"no administrator rights", [](fake::FakePlatform& f) { f.setAdministrator(false); }, 1603,
       "Installing the DALVERA QLX-957 printer driver needs administrator rights.\n\nLog on as "
       "an administrator and run the installer again. Nothing was changed."},
  };
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.label);
    freshMachine();
    const MachineState before = state();
    for (const std::vector<std::string>& mode : std::vector<std::vector<std::string>>{
             {}, {"/quiet"}, {"/passive", "/once"}, {"/uninstall"}}) {
      refusal.arrange(till().fake);
      const std::size_t boxes = till().fake.messageBoxes().size();
      const bool attended = mode.empty() || mode[0] == "/uninstall";
      EXPECT_EQ(run(mode), attended ? 1 : refusal.unattendedCode);
      EXPECT_EQ(state(), before);
      EXPECT_EQ(till().fake.messageBoxes().size(), boxes + (attended ? 1 : 0));
      if (attended) EXPECT_EQ(till().fake.messageBoxes().back().text, refusal.box);
    }
    // Installed, then refused: the removal takes nothing away.
    freshMachine();
    ASSERT_EQ(run({"/quiet"}), 3010);
    const MachineState installed = state();
    refusal.arrange(till().fake);
    EXPECT_EQ(run({"/uninstall", "/quiet"}), refusal.unattendedCode);
    EXPECT_EQ(state(), installed);
  }
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

// A start-up script with /once keeps the till's printer in place.
TEST_P(LifeOnATill, OnceAddsAPrinterWhereNoneUsesTheDriver) {
  ASSERT_EQ(run({"/once", "/quiet", "/port:COM2"}), 3010);
  PrinterDefaults all{nullptr, nullptr, kPrinterAllAccess};  // the shop deletes the printer
  PrinterHandle printer = 0;
  ASSERT_TRUE(till().fake.openPrinter("DALVERA QLX-957", &printer, &all));
  till().fake.deletePrinter(printer);
  till().fake.closePrinter(printer);
  EXPECT_EQ(run({"/once", "/quiet", "/port:COM2"}), 0);
  EXPECT_THAT(printersWithJobs(till().fake), ElementsAre("DALVERA QLX-957 on COM2:, 0 jobs"));
  EXPECT_EQ(run({"/once", "/quiet", "/port:COM2"}), 0);
  EXPECT_EQ(till().fake.installedPrinters().size(), 1u);
}

// An entry that cannot be written fails the run, and the next run writes it.
TEST_P(LifeOnATill, AnUninstallEntryThatCannotBeWrittenFailsTheRunUntilARerunWritesIt) {
  for (const char* call : {"RegCreateKeyA", "RegSetValueExA"}) {
    SCOPED_TRACE(call);
    freshMachine();
    till().fake.failCall(call, kErrorAccessDenied, 2);  // after the run's record
    EXPECT_EQ(run({"/once", "/quiet", std::string("/log:") + kLogPath}), 1603);
    EXPECT_THAT(logText(), HasSubstr(": failed, error 5: Access is denied."));
    EXPECT_THAT(logText(), HasSubstr("Result: incomplete"));
    EXPECT_EQ(run({"/once", "/quiet"}), 3010);
    EXPECT_EQ(run({"/once", "/quiet"}), 0);
    EXPECT_THAT(till().fake.installedPrinterNames(), ElementsAre("DALVERA QLX-957"));
  }
}

// A removal scheduled the deletion of a library the spooler held; when the
// next run places that file again before Windows starts, the deletion goes.
TEST_P(LifeOnATill, APlacedFileWithdrawsItsScheduledDeletion) {
  const std::string monitor = till().systemDirectory() + "\\QLMON957.DLL";
  ASSERT_EQ(run({"/quiet"}), 3010);
  till().fake.restartWindows();
  till().fake.clearCalls();
  if (GetParam() != Family::Win9x) till().fake.failCall("MoveFileExA", 5, 1);  // no name aside
  ASSERT_EQ(run({"/uninstall", "/quiet"}), 3010);
  ASSERT_TRUE(till().fake.fileExists(monitor));  // held, to go at the start
  fake::FakeFile released = *till().fake.file(monitor);
  released.loaded = false;  // the spooler has let it go
  till().fake.addFile(monitor, released);
  till().fake.clearFaults();
  EXPECT_EQ(run({"/quiet"}), 3010);
  EXPECT_THAT(till().fake.deletionsAtRestart(), Not(Contains(monitor)));
  till().fake.restartWindows();
  ASSERT_TRUE(till().fake.fileExists(monitor));
  EXPECT_EQ(till().fake.file(monitor)->contents, "package QLMON957.DLL");
  EXPECT_EQ(run({"/once", "/quiet"}), 0);
}

// ---- a power cut at any moment

bool changesTheMachine(const std::string& call) {
  static const std::set<std::string> changing = {"CopyFileA",
                                                 "FlushFileBuffers",
                                                 "DeleteFileA",
                                                 "MoveFileA",
                                                 "MoveFileExA",
                                                 "SetFileAttributesA",
                                                 "CreateDirectoryA",
                                                 "RemoveDirectoryA",
                                                 "WritePrivateProfileSectionA",
                                                 "RegCreateKeyA",
                                                 "RegSetValueExA",
                                                 "RegDeleteKeyA",
                                                 "AddMonitorA",
                                                 "AddPrintProcessorA",
                                                 "AddPrinterDriverA",
                                                 "AddPrinterA",
                                                 "SetPrinterA",
                                                 "DeletePrinter",
                                                 "DeletePrinterDriverA",
                                                 "DeletePrintProcessorA",
                                                 "DeleteMonitorA"};
  return changing.contains(call);
}

// Cut after any call of a run, Windows started again, the same run once more
// ends where an uncut run ends: nothing half written, staged, aside or
// read-only left, no printer twice.
TEST_P(LifeOnATill, APowerCutAtAnyMomentConvergesOnTheNextRun) {
  struct Life {
    const char* label;
    bool installedFirst, newerPackage;
    std::vector<std::string> arguments;
  };
  const Life lives[] = {
      {"installation", false, false, {"/once", "/quiet"}},
      {"update", true, true, {"/once", "/quiet"}},
      {"removal", true, false, {"/uninstall", "/quiet"}},
      // Without /once, the record of the run cut short keeps the next run
      // from taking the result for an installation to add a printer to.
      {"installation, then a plain run", false, false, {"/quiet"}},
      {"update, then a plain run", true, true, {"/quiet"}},
  };
  const auto before = [this](const Life& life) {
    freshMachine();
    if (life.installedFirst) {
      run({"/quiet"});
      till().fake.restartWindows();
    }
    if (life.newerPackage) newerPackage(till(), GetParam());
    till().fake.clearCalls();
  };
  for (const Life& life : lives) {
    before(life);
    run(life.arguments);
    till().fake.restartWindows();
    const MachineState uncut = state();
    // A cut between two calls that change nothing is a cut before the next
    // that does: those are the moments that matter.
    std::vector<std::size_t> moments;
    for (std::size_t i = 0; i < till().fake.calls().size(); ++i) {
      if (changesTheMachine(till().fake.calls()[i].name)) moments.push_back(i);
    }
    for (const std::size_t cut : moments) {
      SCOPED_TRACE(std::string(life.label) + ", cut after call " + std::to_string(cut));
      before(life);
      till().fake.cutPowerAfter(cut);
      EXPECT_THROW(run(life.arguments), fake::PowerCut);
      till().fake.restartWindows();
      // Windows starts with every library the spooler has registered whole
      // under its name, whatever the cut took.
      for (const auto& [name, library] : registeredLibraries()) {
        const fake::FakeFile* file = till().fake.file(library);
        EXPECT_TRUE(file != nullptr && !file->contents.empty()) << name << ": " << library;
      }
      const int status = run(life.arguments);
      EXPECT_TRUE(status == 0 || status == 3010 || status == 1605) << status;
      EXPECT_FALSE(till().fake.registryKeyExists("SOFTWARE\\DALVERA_QLX-957"))
          << "the record of the run cut short stays";
      till().fake.restartWindows();
      EXPECT_EQ(state(), uncut);
      if (::testing::Test::HasFailure()) return;
    }
  }
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
  EXPECT_THAT(till().fake.copiesMade(), IsEmpty());

  // A spooler that cannot list its ports is no mistake in the command.
  till().fake.clearCalls();
  till().fake.failCall("EnumPortsA", 1722, 2);
  EXPECT_EQ(run({"/quiet", "/port:USB001", std::string("/log:") + kLogPath}), 1603);
  EXPECT_THAT(logText(), HasSubstr("EnumPortsA(level 1): failed, error 1722"));
  EXPECT_THAT(till().fake.printerCalls(), IsEmpty());
}

}  // namespace
}  // namespace qlx::testing_support
