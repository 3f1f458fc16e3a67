#include <gmock/gmock.h>

#include "support/InstallerFixture.h"

namespace qlx::testing_support {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::Pair;

constexpr char kDrivers[] = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86";

std::vector<std::string> stagedCopies() {
  std::vector<std::string> copies;
  for (const char* name : {"UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP", "UNIRES.DLL", "QLX957E.DLL",
                           "QLUI957.DLL", "QLUI957.INI", "QLX957E.GPD", "STDNAMES.GPD"}) {
    copies.push_back(std::string("CopyFileA(driver2k\\") + name + ", " + kDrivers + "\\" + name +
                     ", 0)");
  }
  return copies;
}

class Win2000Family : public InstallerTest {
 protected:
  void SetUp() override { prepare(Family::Win2000); }
};

TEST_F(Win2000Family, StatusTrailAndPauses) {
  install();
  EXPECT_THAT(
      statusTrail(),
      ElementsAre(Pair("Check drivers...\r\n", 11), Pair("Add printer...\r\n", 22),
                  Pair("Install language monitor...\r\n", 33),
                  Pair("Install print processor...\r\n", 44), Pair("Copy files...\r\n", 55),
                  Pair("Install printer driver...\r\n", 66), Pair("Install printer...\r\n", 77),
                  Pair("Delete installed files...\r\n", 88), Pair("Completed!", 100)));
}

TEST_F(Win2000Family, SpoolerRecordsFieldByField) {
  install();
  ASSERT_EQ(fake.monitorCalls().size(), 1u);
  EXPECT_EQ(fake.monitorCalls()[0].name, "DALVERA Language Monitor QLX957");
  EXPECT_EQ(fake.monitorCalls()[0].environment, "Windows NT x86");
  EXPECT_EQ(fake.monitorCalls()[0].dllName, "QLMON957.DLL");
  EXPECT_THAT(callsNamed("AddPrintProcessorA"),
              ElementsAre("AddPrintProcessorA(null, Windows NT x86, QLPRO957.DLL, DALVERA PRINT "
                          "PROCESSOR QLX957)"));

  ASSERT_EQ(fake.driverCalls().size(), 1u);
  const fake::DriverRecord& d = fake.driverCalls()[0];
  EXPECT_EQ(d.cVersion, 3u);
  EXPECT_EQ(d.name, "DALVERA QLX-957");
  EXPECT_EQ(d.environment, "Windows NT x86");
  EXPECT_EQ(d.driverPath, "UNIDRV.DLL");
  EXPECT_EQ(d.dataFile, "QLX957E.GPD");  // the model's GPD, not STDNAMES.GPD
  EXPECT_EQ(d.configFile, "UNIDRVUI.DLL");
  EXPECT_EQ(d.helpFile, "UNIDRV.HLP");
  EXPECT_EQ(d.monitorName, "DALVERA Language Monitor QLX957");
  EXPECT_EQ(d.defaultDataType, "RAW");
}

TEST_F(Win2000Family, CleanUpDeletesTheStagedNamesInOrder) {
  install();
  std::vector<std::string> expected;
  for (const char* name :
       {"UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP", "UNIRES.DLL", "QLMON957.DLL", "QLPRO957.DLL",
        "QLX957E.DLL", "QLUI957.DLL", "QLUI957.INI", "QLX957E.GPD", "STDNAMES.GPD"}) {
    expected.push_back(std::string("DeleteFileA(") + kDrivers + "\\" + name + ")");
  }
  EXPECT_THAT(callsNamed("DeleteFileA"), ElementsAreArray(expected));
  EXPECT_THAT(fake.filesIn(kDrivers), IsEmpty());
  EXPECT_TRUE(fake.fileExists("C:\\WINDOWS\\system32\\QLMON957.DLL"));
  EXPECT_TRUE(fake.fileExists("C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86\\QLPRO957.DLL"));
  EXPECT_TRUE(fake.fileExists(std::string(kDrivers) + "\\3\\QLX957E.GPD"));
}

// Nothing older replaces something newer: a versioned library stays against
// the package's copy without a version.
TEST_F(Win2000Family, ExistingNewerTargetsAreKept) {
  fake::FakeFile newer{"installed"};
  newer.version =
      VsFixedFileInfo{kVsFixedFileInfoSignature, 0, 0x00090000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  fake.addFile("C:\\WINDOWS\\system32\\QLMON957.DLL", newer);
  install();
  EXPECT_EQ(fake.file("C:\\WINDOWS\\system32\\QLMON957.DLL")->contents, "installed");
}

TEST_F(Win2000Family, FailedDriverInstallationIsShownAndThePrinterCreationStillTried) {
  fake.failCall("AddPrinterDriverA", 1021);
  // Without its driver the spooler then refuses the printer, which is fatal.
  EXPECT_EQ(install(), InstallResult::FatalError);
  ASSERT_EQ(messageTexts().size(), 2u);
  EXPECT_EQ(messageTexts()[0].rfind("AddPrinterDriver Error Code: 1021\n\n", 0), 0u);
  EXPECT_EQ(messageTexts()[1].rfind("AddPrinter Error Code: 1797\n\n", 0), 0u);
  EXPECT_EQ(callsNamed("AddPrinterA").size(), 1u);
}

TEST_F(Win2000Family, MonitorAndProcessorFailuresAreShownAndLeaveTheInstallationIncomplete) {
  // The processor is there, so that the printer can still be made.
  fake.addFile(processorDirectory() + "\\QLPRO957.DLL");
  fake.addPrintProcessor(nullptr, "Windows NT x86", "QLPRO957.DLL",
                         "DALVERA PRINT PROCESSOR QLX957");
  fake.clearCalls();
  fake.failCall("AddMonitorA", 1722);
  fake.failCall("AddPrintProcessorA", 1722);
  EXPECT_EQ(install(), InstallResult::Incomplete);
  EXPECT_EQ(messageTexts().size(), 3u);  // two error boxes, then the restart question
  EXPECT_EQ(messageTexts()[0].rfind("AddMonitor Error Code: 1722\n\n", 0), 0u);
  EXPECT_EQ(messageTexts()[1].rfind("AddProcess Error Code: 1722\n\n", 0), 0u);
  EXPECT_EQ(fake.statusString, "Completed!");
}

TEST_F(Win2000Family, WithoutPrintProcessor) {
  prepare(Family::Win2000, false);
  install();
  EXPECT_THAT(callsNamed("AddPrintProcessorA"), IsEmpty());
  EXPECT_THAT(callsNamed("GetPrintProcessorDirectoryA"), IsEmpty());
  for (const std::string& call : fake.copiesMade())
    EXPECT_EQ(call.find("QLPRO"), std::string::npos);
  for (const std::string& call : callsNamed("DeleteFileA"))
    EXPECT_EQ(call.find("QLPRO"), std::string::npos);
  EXPECT_EQ(callsNamed("DeleteFileA").size(), 10u);
  EXPECT_THAT(
      statusTrail(),
      ElementsAre(Pair("Check drivers...\r\n", 11), Pair("Add printer...\r\n", 22),
                  Pair("Install language monitor...\r\n", 33), Pair("Copy files...\r\n", 44),
                  Pair("Install printer driver...\r\n", 55), Pair("Install printer...\r\n", 66),
                  Pair("Delete installed files...\r\n", 77), Pair("Completed!", 100)));
  EXPECT_EQ(fake.printers().at(0).printProcessor, "WinPrint");
}

TEST_F(Win2000Family, ADriverDirectoryThatDoesNotFitIsNeverUsed) {
  fake.setPrinterDriverDirectory("C:\\" + std::string(300, 'd'));
  // Nothing staged: the spooler refuses the driver, and then the printer.
  EXPECT_EQ(install(), InstallResult::FatalError);
  for (const std::string& call : fake.copiesMade()) {
    EXPECT_EQ(call.find("C:\\ddd"), std::string::npos);
    EXPECT_EQ(call.find(", \\"), std::string::npos) << call;  // never the drive's root
  }
  EXPECT_THAT(callsNamed("DeleteFileA"), IsEmpty());
  EXPECT_EQ(fake.copiesMade().size(), 2u);  // monitor and processor only
}

TEST_F(Win2000Family, CleanUpAsksForTheDriverDirectoryAfresh) {
  // The clean-up never deletes by a path it did not just ask for: when its own
  // query fails, nothing is deleted.
  // (The first query looks for what an interrupted run left, the second is the copies'.)
  fake.failCall("GetPrinterDriverDirectoryA", 6, 3);
  ASSERT_EQ(install(), InstallResult::Completed);
  EXPECT_EQ(fake.callTexts("GetPrinterDriverDirectoryA").size(), 3u);
  EXPECT_THAT(fake.callTexts("DeleteFileA"), IsEmpty());
  EXPECT_TRUE(fake.fileExists(std::string(kDrivers) + "\\QLX957E.DLL"));
}

}  // namespace
}  // namespace qlx::testing_support
