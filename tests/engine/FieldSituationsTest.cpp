// What a shop technician meets in the field, on every family: a driver CD, a
// package with a file missing, a run that failed and is tried again, a
// printer name taken by another driver, a driver list that changes while it
// is read.

#include <gmock/gmock.h>

#include "support/InstallerFixture.h"

namespace qlx::testing_support {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr char kRestartQuestionStart[] = "Restart the computer can take effect.";

class FieldSituations : public InstallerTest, public ::testing::WithParamInterface<Family> {
 protected:
  void SetUp() override { prepare(GetParam()); }

  std::vector<std::string> readOnlyFiles() const {
    std::vector<std::string> found;
    for (const std::string& directory : installedDirectories()) {
      for (const std::string& name : fake.filesIn(directory)) {
        if (fake.file(directory + "\\" + name)->readOnly())
          found.push_back(directory + "\\" + name);
      }
    }
    return found;
  }

  std::vector<std::string> printersOfTheDriver() const {
    std::vector<std::string> names;
    for (const fake::PrinterEntry& printer : fake.installedPrinters()) {
      if (printer.driver == "DALVERA QLX-957") names.push_back(printer.name);
    }
    return names;
  }

  // What a complete installation has, whatever path led to it.
  void expectOneCompleteInstallation() const {
    EXPECT_THAT(fake.installedDriverNames(), Contains("DALVERA QLX-957"));
    EXPECT_THAT(fake.installedMonitorNames(), Contains("DALVERA Language Monitor QLX957"));
    EXPECT_THAT(fake.installedProcessorNames(), Contains("DALVERA PRINT PROCESSOR QLX957"));
    EXPECT_THAT(printersOfTheDriver(), ElementsAre("DALVERA QLX-957"));
    EXPECT_TRUE(fake.registryKeyExists(kUninstallKey));
    EXPECT_EQ(fake.filesIn("C:\\WINDOWS\\QLX-957").size(), 3u);
  }

  std::vector<std::string> errorBoxes() const {
    std::vector<std::string> texts;
    for (const fake::MessageBoxRecord& box : fake.messageBoxes()) {
      if (box.applicationBox) texts.push_back(box.text);
    }
    return texts;
  }
};

INSTANTIATE_TEST_SUITE_P(AllFamilies, FieldSituations,
                         ::testing::Values(Family::Win2000, Family::WinNt, Family::Win9x),
                         [](const auto& info) { return std::string(familyName(info.param)); });

// ---- a driver CD: every package file read-only

TEST_P(FieldSituations, FromReadOnlyMediaNoInstalledFileStaysReadOnly) {
  for (const std::string& name : packageFiles(GetParam())) {
    fake.makeReadOnly(sourceFolder(GetParam()) + name);
  }
  for (const std::string& name : uninstallerFiles()) fake.makeReadOnly("C:\\SETUP\\" + name);

  ASSERT_EQ(install(), InstallResult::Completed);
  EXPECT_THAT(readOnlyFiles(), IsEmpty());
  EXPECT_THAT(errorBoxes(), IsEmpty());
  // The staged copies went, as from writable media.
  Installation writable;
  writable.prepare(GetParam());
  writable.install();
  EXPECT_EQ(fake.filesIn(driverDirectory()), writable.fake.filesIn(driverDirectory()));
}

TEST_P(FieldSituations, ReadOnlyFilesOfAnEarlierCdInstallationAreReplaced) {
  // The shared 9x files follow the policy; "always" reaches both of them.
  settings.overwrite = kOverwriteAlways;
  const std::vector<std::string> targets = {driverDirectory() + "\\" + names.driverFile,
                                            systemDirectory() + "\\QLMON957.DLL",
                                            "C:\\WINDOWS\\QLX-957\\Uninstall_2k.dll"};
  std::vector<std::string> all = targets;
  if (GetParam() == Family::Win9x) all.push_back(driverDirectory() + "\\unidrv.dll");
  for (const std::string& path : all) {
    fake.addFile(path, fake::FakeFile{"old"});
    fake.makeReadOnly(path);
  }
  ASSERT_EQ(install(), InstallResult::Completed);
  if (GetParam() == Family::Win9x) {
    EXPECT_EQ(fake.file(all.back())->contents, "package unidrv.dll");
  }
  EXPECT_THAT(readOnlyFiles(), IsEmpty());
  EXPECT_THAT(errorBoxes(), IsEmpty());
}

// ---- the package is checked before anything changes

TEST_P(FieldSituations, EachMissingPackageFileStopsTheRunBeforeAnythingChanges) {
  std::vector<std::string> wanted;
  for (const std::string& name : packageFiles(GetParam())) {
    wanted.push_back(sourceFolder(GetParam()) + name);
  }
  for (const std::string& name : uninstallerFiles()) wanted.push_back("C:\\SETUP\\" + name);
  for (const std::string& missing : wanted) {
    SCOPED_TRACE(missing);
    Installation run;
    run.prepare(GetParam());
    run.fake.deleteFile(missing.c_str());
    run.fake.clearCalls();
    EXPECT_EQ(run.install(), InstallResult::FatalError);
    const std::string shown = missing.substr(std::string("C:\\SETUP\\").size());
    EXPECT_THAT(run.messageTexts(),
                ElementsAre("The driver package is incomplete. These files are missing:\n\n" +
                            shown + "\n\nNothing was installed."));
    for (const char* change : {"CopyFileA", "DeleteFileA", "AddMonitorA", "AddPrintProcessorA",
                               "AddPrinterDriverA", "AddPrinterA"}) {
      EXPECT_THAT(run.callsNamed(change), IsEmpty()) << change;
    }
    // The run's own record of being under way, and nothing else, came and went.
    EXPECT_FALSE(run.fake.registryKeyExists(kUninstallKey));
    EXPECT_FALSE(run.fake.registryKeyExists("SOFTWARE\\DALVERA_QLX-957"));
  }
}

TEST_P(FieldSituations, EveryMissingFileIsNamedAndTheLogGetsThemUnattended) {
  settings.messageBoxes = false;
  fake.deleteFile((std::string(sourceFolder(GetParam())) + "QLMON957.DLL").c_str());
  fake.deleteFile("C:\\SETUP\\Uninstall_98.dll");
  EXPECT_EQ(install(), InstallResult::FatalError);
  EXPECT_THAT(fake.messageBoxes(), IsEmpty());

  settings.messageBoxes = true;
  fake.clearCalls();
  install();
  const std::string folder = std::string(sourceFolder(GetParam())).substr(9);
  EXPECT_THAT(messageTexts(), ElementsAre(HasSubstr("\n" + folder +
                                                    "QLMON957.DLL\n"
                                                    "Uninstall_98.dll\n\n")));
}

TEST_P(FieldSituations, ACopyThatFailsLaterIsShownAndLeavesTheRunIncomplete) {
  // The disk is full when the first uninstaller file comes, after every package file.
  fake.failCall("CopyFileA", 112, static_cast<int>(packageFiles(GetParam()).size()) + 1);
  EXPECT_EQ(install(), InstallResult::Incomplete);
  ASSERT_FALSE(errorBoxes().empty());
  EXPECT_THAT(errorBoxes().front(),
              StartsWith("CopyFile Error Code: 112\n\nThere is not enough space on the disk.\r\n"));
  EXPECT_EQ(fake.statusString, "Completed!");
}

// ---- a run that failed, tried again once the cause is gone

TEST_P(FieldSituations, EveryPartialInstallationIsCompletedNotTakenForOne) {
  struct Partial {
    const char* label;
    std::function<void(Installation&)> leave;
  };
  const auto monitor = [](Installation& run) {
    run.fake.addInstalledMonitor("DALVERA Language Monitor QLX957", "QLMON957.DLL");
  };
  const auto processor = [](Installation& run) {
    run.fake.addFile(run.processorDirectory() + "\\QLPRO957.DLL");
    run.fake.addPrintProcessor(nullptr, run.environment(), "QLPRO957.DLL",
                               "DALVERA PRINT PROCESSOR QLX957");
  };
  const auto driver = [](Installation& run) { run.preinstallDriver(); };
  const Partial partials[] = {
      {"the driver alone", driver},
      {"the monitor alone", monitor},
      {"monitor and processor: the driver failed",
       [&](Installation& run) {
         monitor(run);
         processor(run);
       }},
      {"all but the uninstall entry: the printer failed",
       [&](Installation& run) {
         monitor(run);
         processor(run);
         driver(run);
       }},
      {"everything, but the monitor's library gone at a start",
       [&](Installation& run) {
         run.fake.addInstalledMonitor("DALVERA Language Monitor QLX957");
         processor(run);
         driver(run);
         run.fake.addRegistryKey(kUninstallKey);
         for (const std::string& name : uninstallerFiles()) {
           run.fake.addFile("C:\\WINDOWS\\QLX-957\\" + name);
         }
       }},
      {"everything but one uninstaller file",
       [](Installation& run) {
         addCompleteInstallation(run.fake, run.family_);
         run.fake.deleteFile("C:\\WINDOWS\\QLX-957\\Uninstall_98.dll");
       }},
      {"a printer of the driver, the entry gone",
       [](Installation& run) {
         addCompleteInstallation(run.fake, run.family_);
         run.fake.addInstalledPrinter("DALVERA QLX-957", "DALVERA QLX-957");
         run.fake.regDeleteKey(kHKeyLocalMachine, kUninstallKey);
       }},
  };
  for (const Partial& partial : partials) {
    SCOPED_TRACE(partial.label);
    Installation run;
    run.prepare(GetParam());
    partial.leave(run);
    run.fake.clearCalls();
    EXPECT_EQ(run.install(), InstallResult::Completed);
    EXPECT_TRUE(run.last.freshInstallation);
    EXPECT_THAT(run.messageTexts(), ElementsAre(StartsWith(kRestartQuestionStart)));
    std::vector<std::string> printers;
    for (const fake::PrinterEntry& printer : run.fake.installedPrinters()) {
      if (printer.driver == "DALVERA QLX-957") printers.push_back(printer.name);
    }
    EXPECT_THAT(printers, ElementsAre("DALVERA QLX-957"));
    EXPECT_TRUE(run.fake.registryKeyExists(kUninstallKey));
    EXPECT_EQ(run.fake.filesIn("C:\\WINDOWS\\QLX-957").size(), 3u);
  }
}

TEST_P(FieldSituations, ACompleteInstallationGetsOnlyTheNextNumberedPrinter) {
  preinstallInstallation();
  fake.addInstalledPrinter("DALVERA QLX-957", "DALVERA QLX-957");
  ASSERT_EQ(install(), InstallResult::Completed);
  EXPECT_FALSE(last.freshInstallation);
  EXPECT_THAT(printersOfTheDriver(), ElementsAre("DALVERA QLX-957", "DALVERA QLX-957(#1)"));
  EXPECT_THAT(fake.copiesMade(), IsEmpty());
  EXPECT_THAT(fake.messageBoxes(), IsEmpty());
}

TEST_P(FieldSituations, AFailedRunTriedAgainEndsInOneCompleteInstallation) {
  struct Failure {
    const char* call;
    Dword error;
  };
  for (const Failure& failure : {Failure{"AddPrinterA", 1722}, Failure{"AddPrinterDriverA", 1021},
                                 Failure{"CopyFileA", 112}}) {
    SCOPED_TRACE(failure.call);
    Installation run;
    run.prepare(GetParam());
    run.fake.failCall(failure.call, failure.error);
    EXPECT_NE(run.install(), InstallResult::Completed);

    run.fake.clearFaults();  // the cause is gone
    run.startAgain();
    const std::size_t boxesBefore = run.fake.messageBoxes().size();
    EXPECT_EQ(run.install(), InstallResult::Completed);
    for (std::size_t i = boxesBefore; i < run.fake.messageBoxes().size(); ++i) {
      SCOPED_TRACE(run.fake.messageBoxes()[i].text);
    }
    ASSERT_EQ(run.fake.messageBoxes().size(), boxesBefore + 1)
        << run.fake.messageBoxes()[boxesBefore].text;
    EXPECT_THAT(run.fake.messageBoxes().back().text, StartsWith(kRestartQuestionStart));
    std::vector<std::string> printers;
    for (const fake::PrinterEntry& printer : run.fake.installedPrinters())
      printers.push_back(printer.name);
    EXPECT_THAT(printers, ElementsAre("DALVERA QLX-957"));
    EXPECT_TRUE(run.fake.registryKeyExists(kUninstallKey));
    EXPECT_EQ(run.fake.filesIn("C:\\WINDOWS\\QLX-957").size(), 3u);
    // The staged files of both runs are gone.
    for (const std::string& name :
         {std::string("QLX957E.DLL"), std::string("RASDD.DLL"), std::string("UNIDRV.DLL")}) {
      if (GetParam() != Family::Win9x) {
        EXPECT_FALSE(run.fake.fileExists(run.driverDirectory() + "\\" + name)) << name;
      }
    }
  }
}

// ---- a printer name another driver has

TEST_P(FieldSituations, ANameInUseIsNeverTakenOnAFreshInstallation) {
  fake.addInstalledPrinter("DALVERA QLX-957", "Generic / Text Only", "COM1:");
  ASSERT_EQ(install(), InstallResult::Completed);
  ASSERT_EQ(fake.installedPrinters().size(), 2u);
  EXPECT_EQ(fake.installedPrinters()[0].driver, "Generic / Text Only");
  EXPECT_EQ(fake.installedPrinters()[0].port, "COM1:");
  EXPECT_EQ(fake.installedPrinters()[1].name, "DALVERA QLX-957(#1)");
  EXPECT_EQ(fake.installedPrinters()[1].driver, "DALVERA QLX-957");
}

TEST_P(FieldSituations, OnlyNoSuchPrinterMeansAFreeName) {
  for (Dword error : {kErrorAccessDenied, Dword{1722}}) {
    SCOPED_TRACE(error);
    Installation run;
    run.prepare(GetParam());
    run.fake.failCall("OpenPrinterA", error);
    EXPECT_EQ(run.install(), InstallResult::FatalError);
    EXPECT_THAT(run.fake.installedPrinterNames(), IsEmpty());
    ASSERT_FALSE(run.messageTexts().empty());
    EXPECT_THAT(run.messageTexts().back(),
                StartsWith("OpenPrinter Error Code: " + std::to_string(error) + "\n\n"));
  }
}

// How Windows 9x's print providers say they know no such printer.
TEST_P(FieldSituations, AnInvalidNameAnswerIsAFreeNameToo) {
  fake.failCall("OpenPrinterA", kErrorInvalidName);
  ASSERT_EQ(install(), InstallResult::Completed);
  EXPECT_THAT(fake.installedPrinterNames(), ElementsAre("DALVERA QLX-957"));
}

TEST_P(FieldSituations, TheNameProbeEndsWhereEveryNumberIsTaken) {
  preinstallInstallation();
  fake.addInstalledPrinter("DALVERA QLX-957");
  for (int number = 1; number <= 999; ++number) {
    fake.addInstalledPrinter("DALVERA QLX-957(#" + std::to_string(number) + ")");
  }
  EXPECT_EQ(install(), InstallResult::FatalError);
  EXPECT_THAT(messageTexts(),
              ElementsAre("No free printer name is left (\"DALVERA QLX-957\" to \"DALVERA "
                          "QLX-957(#999)\")"));
  EXPECT_EQ(callsNamed("OpenPrinterA").size(), 1000u);
  EXPECT_THAT(callsNamed("AddPrinterA"), IsEmpty());
}

// ---- the driver list grows while it is read

TEST_P(FieldSituations, ADriverListThatGrowsIsReadAgain) {
  struct Case {
    int growths;
    InstallResult result;
  };
  for (const Case& c : {Case{1, InstallResult::Completed}, Case{2, InstallResult::Completed},
                        Case{3, InstallResult::FatalError}}) {
    SCOPED_TRACE(c.growths);
    Installation run;
    run.prepare(GetParam());
    for (int growth = 1; growth <= c.growths; ++growth) {
      run.fake.afterCall("EnumPrinterDriversA", growth, [&run, growth] {
        run.fake.addInstalledDriver("Another Driver " + std::to_string(growth), run.environment());
      });
    }
    EXPECT_EQ(run.install(), c.result);
    if (c.result == InstallResult::FatalError) {
      EXPECT_THAT(run.messageTexts(),
                  ElementsAre(StartsWith("EnumPrinterDrivers Error Code: 122\n\n")));
      EXPECT_EQ(run.callsNamed("EnumPrinterDriversA").size(), 4u);
    }
  }
}

}  // namespace
}  // namespace qlx::testing_support
