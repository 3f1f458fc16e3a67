#include <gtest/gtest.h>

#include "engine/PrinterInstaller.h"
#include "fake/FakePlatform.h"

namespace qlx {
namespace {

struct NamesCase {
  const char* label;
  Dword platformId, major, minor;
  bool withProcessor;
  const char* driverFile;
  const char* processorFile;
  const char* processorName;
};

class ConfigureModel : public ::testing::TestWithParam<NamesCase> {};

TEST_P(ConfigureModel, DerivesEveryName) {
  const NamesCase& c = GetParam();
  fake::FakePlatform fake;
  fake.setVersion(c.platformId, c.major, c.minor);
  PrinterInstaller installer(fake.platform());
  installer.configureModel("957", 'E', c.withProcessor);

  EXPECT_EQ(installer.monitorFile, "QLMON957.DLL");
  EXPECT_EQ(installer.monitorName, "DALVERA Language Monitor QLX957");
  EXPECT_EQ(installer.processorFile, c.processorFile);
  EXPECT_EQ(installer.processorName, c.processorName);
  EXPECT_EQ(installer.printerName, "DALVERA QLX-957");
  EXPECT_EQ(installer.driverFile, c.driverFile);
  EXPECT_EQ(installer.uiFile, "QLUI957.DLL");
  EXPECT_EQ(installer.hasPrintProcessor, c.withProcessor);
  EXPECT_EQ(installer.iniFileName(), "QLUI957.INI");
  EXPECT_EQ(installer.gpdFileName(), "QLX957E.GPD");
  EXPECT_EQ(installer.numberedPrinterName(1), "DALVERA QLX-957(#1)");
  EXPECT_EQ(installer.numberedPrinterName(12), "DALVERA QLX-957(#12)");
}

INSTANTIATE_TEST_SUITE_P(
    PlatformGroups, ConfigureModel,
    ::testing::Values(NamesCase{"Windows95", 1, 4, 0, true, "QLX957E.DRV", "QLPRO957.DLL",
                                "DALVERA PRINT PROCESSOR QLX957"},
                      NamesCase{"Windows98", 1, 4, 10, true, "QLX957E.DRV", "QLPRO957.DLL",
                                "DALVERA PRINT PROCESSOR QLX957"},
                      NamesCase{"WindowsMe", 1, 4, 90, true, "QLX957E.DRV", "QLPRO957.DLL",
                                "DALVERA PRINT PROCESSOR QLX957"},
                      NamesCase{"WindowsNt4", 2, 4, 0, true, "QLX957E.DLL", "QLPRO957.DLL",
                                "DALVERA PRINT PROCESSOR QLX957"},
                      NamesCase{"WindowsXp", 2, 5, 1, true, "QLX957E.DLL", "QLPRO957.DLL",
                                "DALVERA PRINT PROCESSOR QLX957"},
                      NamesCase{"Server2003", 2, 5, 2, true, "QLX957E.DLL", "QLPRO957.DLL",
                                "DALVERA PRINT PROCESSOR QLX957"},
                      NamesCase{"Unrecognised", 2, 6, 0, true, "QLX957E.DLL", "QLPRO957.DLL",
                                "DALVERA PRINT PROCESSOR QLX957"},
                      NamesCase{"Windows98WithoutProcessor", 1, 4, 10, false, "QLX957E.DRV",
                                "QLPRO", "DALVERA PRINT PROCESSOR QLX"},
                      NamesCase{"XpWithoutProcessor", 2, 5, 1, false, "QLX957E.DLL", "QLPRO",
                                "DALVERA PRINT PROCESSOR QLX"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ConfigureModel, ConstructionSetsOnlyThePrefixes) {
  fake::FakePlatform fake;
  PrinterInstaller installer(fake.platform());
  EXPECT_EQ(installer.monitorFile, "QLMON");
  EXPECT_EQ(installer.printerName, "DALVERA QLX-");
  EXPECT_EQ(installer.driverFile, "QLX");
  EXPECT_TRUE(installer.hasPrintProcessor);
  EXPECT_EQ(installer.statusText, nullptr);
  EXPECT_EQ(installer.progressBar, nullptr);
  EXPECT_EQ(installer.overwriteMode, kOverwriteNever);
  EXPECT_TRUE(fake.calls().empty());  // construction asks the platform nothing
}

TEST(ConfigureModel, OtherModelLengthsCutDerivedNamesAtSevenBytes) {
  fake::FakePlatform fake;
  PrinterInstaller shortModel(fake.platform());
  shortModel.configureModel("9", 'X', true);
  EXPECT_EQ(shortModel.uiFile, "QLUI9.DLL");
  EXPECT_EQ(shortModel.iniFileName(), "QLUI9.D.INI");
  EXPECT_EQ(shortModel.driverFile, "QLX9X.DLL");
  EXPECT_EQ(shortModel.gpdFileName(), "QLX9X.D.GPD");

  PrinterInstaller longModel(fake.platform());
  longModel.configureModel("95710", 'E', true);
  EXPECT_EQ(longModel.iniFileName(), "QLUI957.INI");
  EXPECT_EQ(longModel.gpdFileName(), "QLX9571.GPD");
  EXPECT_EQ(longModel.printerName, "DALVERA QLX-95710");
}

}  // namespace
}  // namespace qlx
