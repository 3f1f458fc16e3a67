#include <gmock/gmock.h>

#include "support/InstallerFixture.h"

namespace qlx::testing_support {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Pair;
using ::testing::UnorderedElementsAreArray;

constexpr char kDrivers[] = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86";

class WinNtFamily : public InstallerTest {
 protected:
  void SetUp() override { prepare(Family::WinNt); }
};

// The monitor and processor names are asked to go from the printer-driver
// directory too, where they were never staged.
TEST_F(WinNtFamily, TheCleanUpDeletesTheStagedNames) {
  ASSERT_EQ(install(), InstallResult::Completed);
  std::vector<std::string> deletions;
  for (const char* name : {"RASDD.DLL", "RASDDUI.DLL", "RASDDUI.HLP", "QLMON957.DLL",
                           "QLPRO957.DLL", "QLUI957.DLL", "QLX957E.DLL"}) {
    deletions.push_back(std::string("DeleteFileA(") + kDrivers + "\\" + name + ")");
  }
  EXPECT_THAT(callsNamed("DeleteFileA"), UnorderedElementsAreArray(deletions));
}

TEST_F(WinNtFamily, MonitorAndProcessorFilesAreCopiedBeforeTheirStep) {
  install();
  const auto names = fake.callNames();
  const auto firstCopy = std::find(names.begin(), names.end(), "CopyFileA");
  const auto monitor = std::find(names.begin(), names.end(), "AddMonitorA");
  ASSERT_NE(monitor, names.end());
  EXPECT_LT(firstCopy, monitor);
  EXPECT_EQ(fake.refreshes().at(2).status, "Install language monitor...\r\n");
}

TEST_F(WinNtFamily, StatusTrailAndPauses) {
  install();
  EXPECT_THAT(
      statusTrail(),
      ElementsAre(Pair("Check drivers...\r\n", 11), Pair("Add printer...\r\n", 22),
                  Pair("Install language monitor...\r\n", 33),
                  Pair("Install print processor...\r\n", 44), Pair("Copy files...\r\n", 55),
                  Pair("Install printer driver...\r\n", 66), Pair("Install printer...\r\n", 77),
                  Pair("Delete installed files...\r\n", 88), Pair("Completed!", 100)));
}

TEST_F(WinNtFamily, DriverRecordFieldByField) {
  install();
  ASSERT_EQ(fake.driverCalls().size(), 1u);
  const fake::DriverRecord& d = fake.driverCalls()[0];
  EXPECT_EQ(d.cVersion, 3u);
  EXPECT_EQ(d.name, "DALVERA QLX-957");
  EXPECT_EQ(d.environment, "Windows NT x86");
  EXPECT_EQ(d.driverPath, "RASDD.DLL");
  EXPECT_EQ(d.dataFile, "QLX957E.DLL");
  EXPECT_EQ(d.configFile, "QLUI957.DLL");
  EXPECT_EQ(d.helpFile, "RASDDUI.HLP");
  EXPECT_EQ(d.monitorName, "DALVERA Language Monitor QLX957");
  EXPECT_EQ(d.defaultDataType, "RAW");
  ASSERT_EQ(fake.monitorCalls().size(), 1u);
  EXPECT_EQ(fake.monitorCalls()[0].environment, "Windows NT x86");
  EXPECT_EQ(fake.monitorCalls()[0].dllName, "QLMON957.DLL");
}

TEST_F(WinNtFamily, FailedDriverInstallationIsFatalAndLeavesTheStagedFiles) {
  fake.failCall("AddPrinterDriverA", 1021);
  EXPECT_EQ(install(), InstallResult::FatalError);
  ASSERT_EQ(messageTexts().size(), 1u);
  EXPECT_EQ(messageTexts()[0].rfind("AddPrinterDriver Error Code: 1021\n\n", 0), 0u);
  EXPECT_THAT(callsNamed("AddPrinterA"), IsEmpty());
  EXPECT_THAT(callsNamed("DeleteFileA"), IsEmpty());
  EXPECT_TRUE(fake.fileExists(std::string(kDrivers) + "\\RASDD.DLL"));
}

TEST_F(WinNtFamily, MonitorLeftByAnEarlierRunIsThereAlreadyWithoutABox) {
  fake.addInstalledMonitor("DALVERA Language Monitor QLX957", "QLMON957.DLL");
  EXPECT_EQ(install(), InstallResult::Completed);
  EXPECT_THAT(messageTexts(), ElementsAre(HasSubstr("Restart the computer")));
  EXPECT_THAT(fake.installedPrinterNames(), ElementsAre("DALVERA QLX-957"));
}

TEST_F(WinNtFamily, MissingPackageFileStopsTheRunBeforeAnythingChanges) {
  prepare(Family::WinNt);
  fake.deleteFile("C:\\SETUP\\driverNT\\RASDD.DLL");
  fake.clearCalls();
  EXPECT_EQ(install(), InstallResult::FatalError);
  EXPECT_THAT(messageTexts(), ElementsAre("The driver package is incomplete. These files are "
                                          "missing:\n\ndriverNT\\RASDD.DLL\n\nNothing was "
                                          "installed."));
  EXPECT_THAT(fake.copiesMade(), IsEmpty());
  EXPECT_THAT(callsNamed("AddMonitorA"), IsEmpty());
}

TEST_F(WinNtFamily, WithoutPrintProcessor) {
  prepare(Family::WinNt, false);
  install();
  EXPECT_THAT(callsNamed("AddPrintProcessorA"), IsEmpty());
  EXPECT_EQ(callsNamed("DeleteFileA").size(), 6u);
  EXPECT_EQ(statusTrail().size(), 8u);
  EXPECT_THAT(statusTrail()[6], Pair("Delete installed files...\r\n", 77));
  EXPECT_EQ(fake.printers().at(0).printProcessor, "WinPrint");
  EXPECT_EQ(fake.printers().at(0).attributes, 0x0A00u);
}

TEST_F(WinNtFamily, FailedDriverDirectoryQueryDeletesNothingFromAnotherDirectory) {
  // The buffer still holds the print processor directory; the clean-up must not use it.
  fake.failCall("GetPrinterDriverDirectoryA", 5, 2);  // the copies' query
  install();
  EXPECT_THAT(callsNamed("DeleteFileA"), IsEmpty());
  EXPECT_TRUE(fake.fileExists("C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86\\QLPRO957.DLL"));
}

}  // namespace
}  // namespace qlx::testing_support
