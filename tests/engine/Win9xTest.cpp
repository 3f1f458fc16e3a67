#include <gmock/gmock.h>

#include "support/InstallerFixture.h"

namespace qlx::testing_support {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::Pair;

constexpr char kSystem[] = "C:\\WINDOWS\\SYSTEM";

class Win9x : public InstallerTest {
 protected:
  void SetUp() override {
    prepare(Family::Win9x);
    settings.overwrite = kOverwriteByVersion;
  }
};

TEST_F(Win9x, NothingIsStagedSoNothingIsDeleted) {
  ASSERT_EQ(install(), InstallResult::Completed);
  EXPECT_THAT(callsNamed("DeleteFileA"), IsEmpty());
}

TEST_F(Win9x, StatusTrailAndPauses) {
  install();
  EXPECT_THAT(statusTrail(),
              ElementsAre(Pair("Check driver...\r\n", 11), Pair("Add printer...\r\n", 22),
                          Pair("Install language monitor...\r\n", 33),
                          Pair("Install print processor...\r\n", 44), Pair("Copy files...\r\n", 55),
                          Pair("Install printer driver...\r\n", 66),
                          Pair("Install printer...\r\n", 77), Pair("Completed!", 100)));
}

TEST_F(Win9x, SpoolerRecordsFieldByField) {
  install();
  ASSERT_EQ(fake.monitorCalls().size(), 2u);
  EXPECT_EQ(fake.monitorCalls()[0].name, "DALVERA Language Monitor QLX957");
  EXPECT_EQ(fake.monitorCalls()[0].environment, "Windows 4.0");
  EXPECT_EQ(fake.monitorCalls()[0].dllName, "QLMON957.DLL");
  EXPECT_EQ(fake.monitorCalls()[1].name, "usbmon.dll");
  EXPECT_EQ(fake.monitorCalls()[1].environment, "Windows 4.0");
  EXPECT_EQ(fake.monitorCalls()[1].dllName, "usbmon.DLL");
  EXPECT_THAT(callsNamed("AddPrintProcessorA"),
              ElementsAre("AddPrintProcessorA(null, Windows 4.0, QLPRO957.DLL, DALVERA PRINT "
                          "PROCESSOR QLX957)"));

  ASSERT_EQ(fake.driverCalls().size(), 1u);
  const fake::DriverRecord& d = fake.driverCalls()[0];
  EXPECT_EQ(d.cVersion, 0x400u);
  EXPECT_EQ(d.name, "DALVERA QLX-957");
  EXPECT_EQ(d.environment, "Windows 4.0");
  EXPECT_EQ(d.driverPath, "QLX957E.DRV");
  EXPECT_EQ(d.dataFile, "QLX957E.DRV");
  EXPECT_EQ(d.configFile, "QLX957E.DRV");
  EXPECT_EQ(d.helpFile, "UNIDRV.HLP");
  EXPECT_EQ(d.monitorName, "DALVERA Language Monitor QLX957");
  EXPECT_EQ(d.defaultDataType, "RAW");
}

TEST_F(Win9x, WithoutPrintProcessor) {
  prepare(Family::Win9x, false);
  install();
  EXPECT_THAT(*fake.driverCalls().at(0).dependentFiles, Not(HasSubstr("QLPRO957")));
  EXPECT_THAT(callsNamed("AddPrintProcessorA"), IsEmpty());
  EXPECT_EQ(statusTrail().size(), 7u);
  EXPECT_THAT(statusTrail()[5], Pair("Install printer...\r\n", 66));
  EXPECT_EQ(fake.printers().at(0).printProcessor, "WinPrint");
  EXPECT_EQ(fake.printers().at(0).attributes, 0x0840u);
}

TEST_F(Win9x, SecondMonitorFailsSilently) {
  fake.failCall("AddMonitorA", 126, 2);
  EXPECT_EQ(install(), InstallResult::Completed);
  EXPECT_EQ(messageTexts().size(), 1u);  // only the restart question
}

TEST_F(Win9x, ProductMonitorFailureIsShownAndEverythingElseFollowsIncomplete) {
  fake.failCall("AddMonitorA", 126, 1);
  EXPECT_EQ(install(), InstallResult::Incomplete);
  EXPECT_EQ(messageTexts().at(0).rfind("AddMonitor Error Code: 126\n\n", 0), 0u);
  EXPECT_EQ(fake.monitorCalls().size(), 2u);
  EXPECT_EQ(fake.driverCalls().size(), 1u);
}

TEST_F(Win9x, ProcessorLeftByAnEarlierRunIsThereAlreadyWithoutABox) {
  fake.addFile(processorDirectory() + "\\QLPRO957.DLL");
  fake.addPrintProcessor(nullptr, "Windows 4.0", "QLPRO957.DLL", "DALVERA PRINT PROCESSOR QLX957");
  fake.clearCalls();
  EXPECT_EQ(install(), InstallResult::Completed);
  EXPECT_EQ(messageTexts().size(), 1u);  // the restart question
  EXPECT_THAT(fake.copiesMade(),
              Not(Contains(HasSubstr("QLPRO957.DLL, C:\\WINDOWS\\SYSTEM"))));  // in use, kept
}

TEST_F(Win9x, FailedDriverInstallationIsFatalAndKeepsTheCopiedFiles) {
  fake.failCall("AddPrinterDriverA", 1021);
  EXPECT_EQ(install(), InstallResult::FatalError);
  EXPECT_EQ(messageTexts().size(), 1u);
  EXPECT_THAT(callsNamed("AddPrinterA"), IsEmpty());
  EXPECT_TRUE(fake.fileExists(std::string(kSystem) + "\\QLX957E.DRV"));
  EXPECT_EQ(fake.monitors().size(), 2u);  // registered objects stay registered
}

TEST_F(Win9x, YesRestartsWithoutAnyPrivilegeStep) {
  fake.queueMessageBoxAnswer(kIdYes);
  install();
  EXPECT_THAT(callsNamed("OpenProcessToken"), IsEmpty());
  EXPECT_THAT(callsNamed("ExitWindowsEx"), ElementsAre("ExitWindowsEx(6, 0)"));
  EXPECT_EQ(fake.statusString, "Completed!");
}

}  // namespace
}  // namespace qlx::testing_support
