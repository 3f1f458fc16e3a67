// How the package's custom actions answer Windows Installer for each exit
// code of QLX957_Installer.exe, installing and removing.

#include <gtest/gtest.h>

#include "msi/core/ExitMapping.h"

namespace qlx::msi {
namespace {

struct Row {
  Stage stage;
  std::uint32_t exitCode;
  std::uint32_t result;
  bool restart;
};

constexpr Row kRows[] = {
    {Stage::Install, 0, kActionSuccess, false},
    {Stage::Install, 3010, kActionSuccess, true},
    {Stage::Install, 1641, kActionSuccess, true},
    {Stage::Install, 1602, kActionUserExit, false},
    {Stage::Install, 1603, kActionFailure, false},
    {Stage::Install, 1618, kActionFailure, false},
    {Stage::Install, 1633, kActionFailure, false},
    {Stage::Install, 87, kActionFailure, false},
    {Stage::Install, 1622, kActionFailure, false},
    // Only a removal may find nothing to do.
    {Stage::Install, 1605, kActionFailure, false},
    {Stage::Install, 1, kActionFailure, false},
    {Stage::Install, 3, kActionFailure, false},
    {Stage::Install, 0xC0000005u, kActionFailure, false},  // a crash
    {Stage::Removal, 0, kActionSuccess, false},
    {Stage::Removal, 3010, kActionSuccess, true},
    {Stage::Removal, 1641, kActionSuccess, true},
    {Stage::Removal, 1605, kActionSuccess, false},
    {Stage::Removal, 1602, kActionUserExit, false},
    {Stage::Removal, 1603, kActionFailure, false},
    {Stage::Removal, 1618, kActionFailure, false},
    {Stage::Removal, 87, kActionFailure, false},  // a program without /uninstall
    {Stage::Removal, 0xFFFFFFFFu, kActionFailure, false},
};

TEST(ExitMapping, EachCodeAsTheCustomActionAnswersIt) {
  for (const Row& row : kRows) {
    const ActionOutcome outcome = mapExitCode(row.stage, row.exitCode);
    const char* stage = row.stage == Stage::Install ? "install" : "removal";
    EXPECT_EQ(outcome.result, row.result) << stage << " " << row.exitCode;
    EXPECT_EQ(outcome.restart, row.restart) << stage << " " << row.exitCode;
    ASSERT_NE(outcome.meaning, nullptr);
    EXPECT_NE(outcome.meaning[0], '\0') << stage << " " << row.exitCode;
  }
}

TEST(ExitMapping, TheLogSaysWhyAnotherInstallationStopsThePackage) {
  EXPECT_STREQ(mapExitCode(Stage::Install, 1618).meaning,
               "another installation of the driver is running; try again when it has ended");
}

}  // namespace
}  // namespace qlx::msi
