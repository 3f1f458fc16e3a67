#include <gtest/gtest.h>

#include "engine/OsDetection.h"

namespace qlx {
namespace {

struct VersionCase {
  Dword platformId, major, minor;
  OsKind expected;
};

class OsClassification : public testing::TestWithParam<VersionCase> {};

TEST_P(OsClassification, MapsVersionToPlatformCode) {
  const VersionCase& c = GetParam();
  EXPECT_EQ(classifyOsVersion(c.platformId, c.major, c.minor), c.expected)
      << "platform " << c.platformId << " version " << c.major << "." << c.minor;
}

INSTANTIATE_TEST_SUITE_P(
    DecisionTable, OsClassification,
    testing::Values(VersionCase{1, 4, 0, kWindows95}, VersionCase{1, 4, 10, kWindows98},
                    VersionCase{1, 4, 90, kWindowsMe}, VersionCase{2, 4, 0, kWindowsNt4},
                    VersionCase{2, 3, 51, kWindowsNt4}, VersionCase{2, 0, 0, kWindowsNt4},
                    VersionCase{2, 4, 99, kWindowsNt4}, VersionCase{2, 5, 0, kWindows2000},
                    VersionCase{2, 5, 1, kWindowsXp}, VersionCase{2, 5, 2, kWindowsServer2003},
                    // Vista, 7, 8, 8.1, 10.
                    VersionCase{2, 6, 0, kWindowsVistaOrLater},
                    VersionCase{2, 6, 1, kWindowsVistaOrLater},
                    VersionCase{2, 6, 2, kWindowsVistaOrLater},
                    VersionCase{2, 6, 3, kWindowsVistaOrLater},
                    VersionCase{2, 10, 0, kWindowsVistaOrLater},
                    // Everything around the table is unrecognised.
                    VersionCase{2, 5, 3, kOsUnrecognised}, VersionCase{2, 6, 4, kOsUnrecognised},
                    VersionCase{2, 7, 0, kOsUnrecognised}, VersionCase{2, 10, 1, kOsUnrecognised},
                    VersionCase{1, 6, 0, kOsUnrecognised}, VersionCase{1, 4, 3, kOsUnrecognised},
                    VersionCase{1, 4, 11, kOsUnrecognised}, VersionCase{1, 3, 10, kOsUnrecognised},
                    VersionCase{1, 5, 0, kOsUnrecognised}, VersionCase{0, 4, 0, kOsUnrecognised},
                    VersionCase{3, 5, 1, kOsUnrecognised},
                    // Unsigned: a huge major is not "4 or less".
                    VersionCase{2, 0xFFFFFFFFu, 0, kOsUnrecognised}));

TEST(OsClassification, UnrecognisedCodeLiesOutsideTheSupportedRange) {
  EXPECT_TRUE(kOsUnrecognised < kWindows95 || kOsUnrecognised > kWindowsVistaOrLater);
}

}  // namespace
}  // namespace qlx
