// The frame every install procedure runs, on all three families.

#include <gmock/gmock.h>

#include "support/InstallerFixture.h"

namespace qlx::testing_support {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

class InstallFrame : public InstallerTest, public ::testing::WithParamInterface<Family> {
 protected:
  void SetUp() override { prepare(GetParam()); }
  const char* checkText() const {
    return GetParam() == Family::Win9x ? "Check driver...\r\n" : "Check drivers...\r\n";
  }
  std::uint64_t completionPause() const { return GetParam() == Family::Win9x ? 500 : 2000; }
};

INSTANTIATE_TEST_SUITE_P(AllFamilies, InstallFrame,
                         ::testing::Values(Family::Win2000, Family::WinNt, Family::Win9x),
                         [](const auto& info) { return std::string(familyName(info.param)); });

TEST_P(InstallFrame, FreshInstallationCreatesThePrinterUnderThePlainName) {
  ASSERT_EQ(install(), InstallResult::Completed);

  EXPECT_THAT(fake.installedPrinterNames(), ElementsAre("DALVERA QLX-957"));
  EXPECT_THAT(fake.installedDriverNames(), ElementsAre("DALVERA QLX-957"));
  EXPECT_TRUE(fake.registryKeyExists(
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DALVERA_QLX-957"));
  ASSERT_EQ(fake.messageBoxes().size(), 1u);  // the restart question only
  EXPECT_EQ(fake.openHandles(), 0);
  EXPECT_EQ(fake.liveAllocations(), 0);
}

// Each file where Windows loads it: the libraries where the spooler does,
// every file the driver names in the driver's own folder, the uninstaller
// in its folder; and "Completed!" stays on screen for the family's pause.
TEST_P(InstallFrame, FreshInstallationLeavesEveryFileWhereWindowsLoadsIt) {
  ASSERT_EQ(install(), InstallResult::Completed);
  const bool win9x = GetParam() == Family::Win9x;
  const std::string home = win9x ? driverDirectory() : driverDirectory() + "\\3";
  ASSERT_EQ(fake.driverCalls().size(), 1u);
  const fake::DriverRecord& driver = fake.driverCalls()[0];
  std::vector<std::string> named = {*driver.driverPath, *driver.dataFile, *driver.configFile,
                                    *driver.helpFile};
  const std::string& dependent = *driver.dependentFiles;
  for (std::size_t at = 0; at < dependent.size() && dependent[at] != '\0';
       at = dependent.find('\0', at) + 1) {
    named.push_back(dependent.substr(at, dependent.find('\0', at) - at));
  }
  for (const std::string& name : named) {
    // USBMON.DLL is the system's own on Windows 9x, named but not shipped there.
    if (win9x && name == "USBMON.DLL") continue;
    EXPECT_TRUE(fake.fileExists(home + "\\" + name)) << name;
  }
  EXPECT_TRUE(fake.fileExists(systemDirectory() + "\\QLMON957.DLL"));
  EXPECT_TRUE(fake.fileExists(processorDirectory() + "\\QLPRO957.DLL"));
  for (const std::string& name : uninstallerFiles()) {
    EXPECT_TRUE(fake.fileExists("C:\\WINDOWS\\QLX-957\\" + name)) << name;
  }
  if (!win9x) EXPECT_THAT(fake.filesIn(driverDirectory()), IsEmpty());  // nothing staged stays
  EXPECT_EQ(fake.clockMs() - fake.refreshes().back().atMs, completionPause());
}

TEST_P(InstallFrame, CompleteInstallationGetsOnlyAPrinterWithTheShortSequence) {
  preinstallInstallation();
  ASSERT_EQ(install(), InstallResult::Completed);

  EXPECT_THAT(statusTrail(),
              ElementsAre(Pair(checkText(), 11), Pair("Add printer...\r\n", 22),
                          Pair("Install printer...\r\n", 33), Pair("Completed!", 100)));
  EXPECT_EQ(fake.clockMs(), 3 * 500 + completionPause());
  EXPECT_THAT(fake.installedPrinterNames(), ElementsAre("DALVERA QLX-957"));
  EXPECT_THAT(fake.copiesMade(), IsEmpty());
  EXPECT_THAT(callsNamed("DeleteFileA"), IsEmpty());
  EXPECT_THAT(callsNamed("AddMonitorA"), IsEmpty());
  EXPECT_THAT(callsNamed("AddPrintProcessorA"), IsEmpty());
  EXPECT_THAT(callsNamed("AddPrinterDriverA"), IsEmpty());
  EXPECT_EQ(callsNamed("RegCreateKeyA").size(), 1u);  // the run's record alone
  EXPECT_THAT(fake.messageBoxes(), IsEmpty());
}

// Another release's entry ("... 3.1.0E") is this installation's entry: the
// run finds the installation complete and adds a printer, nothing else.
TEST_P(InstallFrame, AnEarlierReleasesEntryCountsAsTheInstallationsOwn) {
  preinstallInstallation();
  const std::string older = "DALVERA QLX-957 POS Windows Driver 3.1.0E";
  fake.addRegistryKey(
      kUninstallKey,
      {{"DisplayName", {kRegSz, std::vector<std::uint8_t>(older.begin(), older.end())}},
       {"UninstallString", {kRegSz, {'x', 0}}}});
  fake.clearCalls();
  ASSERT_EQ(install(), InstallResult::Completed);
  EXPECT_THAT(callsNamed("AddPrinterDriverA"), IsEmpty());
  EXPECT_THAT(fake.installedPrinterNames(), ElementsAre("DALVERA QLX-957"));
}

TEST_P(InstallFrame, DriverCheckEnumeratesTwiceAtTheFamilysLevel) {
  install();
  const std::string level = GetParam() == Family::Win2000 ? "4" : "3";
  const auto enumerations = callsNamed("EnumPrinterDriversA");
  ASSERT_EQ(enumerations.size(), 2u);
  EXPECT_EQ(enumerations[0], "EnumPrinterDriversA(null, null, " + level + ", null, 0)");
  EXPECT_EQ(fake.calls().front().name, "SendMessageA");  // the check is announced first
}

TEST_P(InstallFrame, DriverNameDifferingOnlyInCaseDoesNotCount) {
  preinstallDriver("dalvera qlx-957");
  install();
  EXPECT_EQ(callsNamed("AddPrinterDriverA").size(), 1u);
}

TEST_P(InstallFrame, DriverFoundAmongOthers) {
  preinstallDriver("Generic / Text Only");
  preinstallInstallation();
  preinstallDriver("Another Driver");
  install();
  EXPECT_THAT(callsNamed("AddPrinterDriverA"), IsEmpty());
}

TEST_P(InstallFrame, EnumerationFailureIsFatalBeforeAnythingIsTouched) {
  fake.failCall("EnumPrinterDriversA", 1722, 2);
  EXPECT_EQ(install(), InstallResult::FatalError);

  ASSERT_EQ(fake.messageBoxes().size(), 1u);
  EXPECT_TRUE(fake.messageBoxes()[0].applicationBox);
  EXPECT_EQ(fake.messageBoxes()[0].text.rfind("EnumPrinterDrivers Error Code: 1722\n\n", 0), 0u);
  EXPECT_EQ(lastCall(), "AppMessageBox");  // nothing after the box
  EXPECT_THAT(fake.copiesMade(), IsEmpty());
  EXPECT_THAT(fake.installedPrinterNames(), IsEmpty());
  EXPECT_EQ(fake.liveAllocations(), 0);
}

TEST_P(InstallFrame, PrinterCreationFailureIsFatalBeforeTheFinishingSequence) {
  fake.failCall("AddPrinterA", 1796);
  EXPECT_EQ(install(), InstallResult::FatalError);

  ASSERT_FALSE(fake.messageBoxes().empty());
  const fake::MessageBoxRecord& box = fake.messageBoxes().back();
  EXPECT_EQ(box.text.rfind("AddPrinter Error Code: 1796\n\n", 0), 0u);
  EXPECT_EQ(lastCall(), "AppMessageBox");
  EXPECT_THAT(callsNamed("DeleteFileA"), IsEmpty());  // staged files stay
  EXPECT_FALSE(fake.registryKeyExists(kUninstallKey));
  EXPECT_THAT(callsNamed("MessageBoxA"), IsEmpty());
  EXPECT_NE(fake.statusString, "Completed!");
}

TEST_P(InstallFrame, RestartQuestionTextCaptionAndStyle) {
  install();
  ASSERT_EQ(fake.messageBoxes().size(), 1u);
  const fake::MessageBoxRecord& box = fake.messageBoxes()[0];
  EXPECT_FALSE(box.applicationBox);
  EXPECT_EQ(box.owner, 0u);
  EXPECT_EQ(box.text,
            "Restart the computer can take effect.\nPlease restart the computer.\n\n[Yes] I want "
            "to restart my computer now.\n[No] I will restart my computer later.");
  EXPECT_EQ(box.caption, "DALVERA QLX-957 installer");
  EXPECT_EQ(box.type, 0x24u);
}

TEST_P(InstallFrame, AnswerNoRestartsNothingAndStillCompletes) {
  fake.queueMessageBoxAnswer(kIdNo);
  EXPECT_EQ(install(), InstallResult::Completed);
  EXPECT_FALSE(fake.restartRequested());
  EXPECT_THAT(callsNamed("ExitWindowsEx"), IsEmpty());
  EXPECT_EQ(fake.statusString, "Completed!");
  EXPECT_EQ(fake.barPosition(), 100);
}

TEST_P(InstallFrame, OnlyYesRestarts) {
  // 0: the box itself failed; OK and Cancel are not answers this box offers.
  for (int answer : {0, kIdOk, 2 /*IDCANCEL*/}) {
    Installation run;
    run.prepare(GetParam());
    run.fake.queueMessageBoxAnswer(answer);
    EXPECT_EQ(run.install(), InstallResult::Completed) << answer;
    ASSERT_EQ(run.fake.messageBoxes().size(), 1u) << answer;  // the restart question
    EXPECT_FALSE(run.fake.restartRequested()) << answer;
    EXPECT_THAT(run.fake.callTexts("ExitWindowsEx"), IsEmpty()) << answer;
    EXPECT_THAT(run.fake.callTexts("OpenProcessToken"), IsEmpty()) << answer;
  }
}

TEST_P(InstallFrame, AnswerYesRequestsAForcedRestartAndStillCompletes) {
  fake.queueMessageBoxAnswer(kIdYes);
  EXPECT_EQ(install(), InstallResult::Completed);
  EXPECT_TRUE(fake.restartRequested());
  EXPECT_THAT(callsNamed("ExitWindowsEx"), ElementsAre("ExitWindowsEx(6, 0)"));
  // Only the NT-based families ask for the shutdown privilege first.
  const bool privilegeAsked = !callsNamed("AdjustTokenPrivileges").empty();
  EXPECT_EQ(privilegeAsked, GetParam() != Family::Win9x);
  EXPECT_EQ(fake.statusString, "Completed!");
  EXPECT_EQ(fake.openHandles(), 0);
}

TEST_P(InstallFrame, RefusedRestartIsIgnored) {
  fake.queueMessageBoxAnswer(kIdYes);
  fake.setExitWindowsRefused(true);
  EXPECT_EQ(install(), InstallResult::Completed);
  EXPECT_EQ(fake.messageBoxes().size(), 1u);
  EXPECT_EQ(fake.statusString, "Completed!");
}

// Every field of the printer record, per family and port.
struct PrinterCase {
  Family family;
  bool withProcessor;
  PortCode port;
  const char* portName;
  Dword attributes, defaultPriority, status;
  const char* processor;
};

class PrinterRecordFields : public InstallerTest,
                            public ::testing::WithParamInterface<PrinterCase> {};

TEST_P(PrinterRecordFields, AreSetExactly) {
  const PrinterCase& c = GetParam();
  prepare(c.family, c.withProcessor);
  ASSERT_EQ(install(c.port), InstallResult::Completed);
  ASSERT_EQ(fake.printerCalls().size(), 1u);
  const fake::PrinterRecord& p = fake.printerCalls()[0];
  EXPECT_EQ(p.printerName, "DALVERA QLX-957");
  EXPECT_EQ(p.portName, c.portName);
  EXPECT_EQ(p.driverName, "DALVERA QLX-957");
  EXPECT_EQ(p.printProcessor, c.processor);
  EXPECT_EQ(p.datatype, "RAW");
  EXPECT_EQ(p.attributes, c.attributes);
  EXPECT_EQ(p.priority, 1u);
  EXPECT_EQ(p.defaultPriority, c.defaultPriority);
  EXPECT_EQ(p.status, c.status);
  for (const auto* field :
       {&p.serverName, &p.shareName, &p.comment, &p.location, &p.sepFile, &p.parameters}) {
    EXPECT_FALSE(field->has_value());
  }
  EXPECT_TRUE(p.devModeNull);
  EXPECT_TRUE(p.securityDescriptorNull);
  EXPECT_EQ(p.startTime, 0u);
  EXPECT_EQ(p.untilTime, 0u);
  EXPECT_EQ(p.cJobs, 0u);
  EXPECT_EQ(p.averagePpm, 0u);
}

constexpr char kProcessor[] = "DALVERA PRINT PROCESSOR QLX957";

INSTANTIATE_TEST_SUITE_P(
    FamiliesAndPorts, PrinterRecordFields,
    ::testing::Values(
        PrinterCase{Family::Win2000, true, 1000, "COM1:", 0x1800, 0, 0x80, kProcessor},
        PrinterCase{Family::Win2000, true, 1004, "LPT1:", 0x1800, 0, 0x80, kProcessor},
        PrinterCase{Family::Win2000, false, 1005, "LPT2:", 0x0A00, 0, 0x80, "WinPrint"},
        PrinterCase{Family::WinNt, true, 1001, "COM2:", 0x1800, 0, 0, kProcessor},
        PrinterCase{Family::WinNt, true, 1002, "COM3:", 0x1800, 0, 0, kProcessor},
        PrinterCase{Family::WinNt, false, 1004, "LPT1:", 0x0A00, 0, 0, "WinPrint"},
        PrinterCase{Family::Win9x, true, 1003, "COM4:", 0x1800, 1, 0, kProcessor},
        PrinterCase{Family::Win9x, true, 1005, "LPT2:", 0x1800, 1, 0, kProcessor},
        PrinterCase{Family::Win9x, false, 1004, "LPT1:", 0x0840, 1, 0, "WinPrint"}));

struct NameCase {
  std::vector<std::string> existing;
  std::string expected;
  std::size_t probes;  // names tried, the free one included
};

const NameCase kNameCases[] = {
    {{}, "DALVERA QLX-957", 1},
    {{"DALVERA QLX-957"}, "DALVERA QLX-957(#1)", 2},
    {{"DALVERA QLX-957", "DALVERA QLX-957(#1)"}, "DALVERA QLX-957(#2)", 3},
    {{"DALVERA QLX-957", "DALVERA QLX-957(#2)"}, "DALVERA QLX-957(#1)", 2},  // a gap is filled
    {{"DALVERA QLX-957(#1)"}, "DALVERA QLX-957", 1},
};

class NameProbe : public InstallerTest,
                  public ::testing::WithParamInterface<std::tuple<Family, NameCase>> {};

TEST_P(NameProbe, TakesTheFirstFreeName) {
  const auto& [family, c] = GetParam();
  prepare(family);
  preinstallInstallation();
  for (const std::string& name : c.existing) fake.addInstalledPrinter(name);

  ASSERT_EQ(install(), InstallResult::Completed);
  ASSERT_EQ(fake.printers().size(), 1u);
  EXPECT_EQ(fake.printers()[0].printerName, c.expected);
  EXPECT_EQ(fake.printers()[0].driverName, "DALVERA QLX-957");  // never the numbered name
  EXPECT_EQ(callsNamed("OpenPrinterA").size(), c.probes);
  EXPECT_EQ(fake.openHandles(), 0);
}

INSTANTIATE_TEST_SUITE_P(AllFamilies, NameProbe,
                         ::testing::Combine(::testing::Values(Family::Win2000, Family::WinNt,
                                                              Family::Win9x),
                                            ::testing::ValuesIn(kNameCases)));

TEST_F(InstallerTest, UnknownPortCodeLeavesThePortNameNull) {
  prepare(Family::WinNt);
  install(999);
  ASSERT_EQ(fake.printerCalls().size(), 1u);
  EXPECT_FALSE(fake.printerCalls()[0].portName.has_value());
}

}  // namespace
}  // namespace qlx::testing_support
