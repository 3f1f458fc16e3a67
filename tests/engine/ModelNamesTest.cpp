#include <gtest/gtest.h>

#include "engine/ModelNames.h"

namespace qlx {
namespace {

TEST(ModelNames, WindowsNineXTakesTheDriverAsADrvAndTheRestAsLibraries) {
  const ModelNames nt = configureModel("957", 'E', true, false);
  const ModelNames win9x = configureModel("957", 'E', true, true);
  EXPECT_EQ(nt.driverFile, "QLX957E.DLL");
  EXPECT_EQ(win9x.driverFile, "QLX957E.DRV");
  for (const ModelNames& names : {nt, win9x}) {
    EXPECT_EQ(names.monitorFile, "QLMON957.DLL");
    EXPECT_EQ(names.processorName, "DALVERA PRINT PROCESSOR QLX957");
    EXPECT_EQ(names.iniFileName(), "QLUI957.INI");
    EXPECT_EQ(names.gpdFileName(), "QLX957E.GPD");
  }
  EXPECT_EQ(nt.numberedPrinterName(12), "DALVERA QLX-957(#12)");
}

TEST(ModelNames, WithoutAPrintProcessorNoProcessorIsNamed) {
  const ModelNames names = configureModel("957", 'E', false, false);
  EXPECT_FALSE(names.hasPrintProcessor);
  EXPECT_TRUE(names.processorFile.empty());
  EXPECT_TRUE(names.processorName.empty());
}

TEST(ModelNames, OtherModelLengthsCutDerivedNamesAtSevenBytes) {
  const ModelNames shortModel = configureModel("9", 'X', true, false);
  EXPECT_EQ(shortModel.iniFileName(), "QLUI9.D.INI");
  EXPECT_EQ(shortModel.gpdFileName(), "QLX9X.D.GPD");
  const ModelNames longModel = configureModel("95710", 'E', true, false);
  EXPECT_EQ(longModel.iniFileName(), "QLUI957.INI");
  EXPECT_EQ(longModel.gpdFileName(), "QLX9571.GPD");
  EXPECT_EQ(longModel.printerName, "DALVERA QLX-95710");
}

}  // namespace
}  // namespace qlx
