#include <gtest/gtest.h>

#include "app/WindowGeometry.h"

namespace qlx {
namespace {

constexpr Rect kScreen{0, 0, 1024, 768};

struct CentreCase {
  const char* name;
  Rect window;
  std::optional<Rect> owner;
  Rect workArea;
  Point expected;
};

class Centring : public ::testing::TestWithParam<CentreCase> {};

TEST_P(Centring, PlacesTheWindow) {
  const CentreCase& c = GetParam();
  EXPECT_EQ(centredPosition(c.window, c.owner, c.workArea), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Centring,
    ::testing::Values(
        CentreCase{"OnTheScreen", {0, 0, 563, 212}, std::nullopt, kScreen, {231, 278}},
        CentreCase{"WorkAreaBelowATopTaskbar",
                   {0, 0, 100, 100},
                   std::nullopt,
                   {0, 30, 1024, 768},
                   {462, 349}},
        CentreCase{"OverTheOwner", {0, 0, 310, 200}, Rect{200, 100, 763, 312}, kScreen, {326, 106}},
        CentreCase{"OwnerNearTheRightEdge",
                   {0, 0, 300, 200},
                   Rect{900, 300, 1100, 400},
                   kScreen,
                   {724, 250}},
        CentreCase{
            "OwnerAboveTheTop", {0, 0, 300, 200}, Rect{100, -300, 400, -100}, kScreen, {100, 0}},
        CentreCase{"LargerThanTheWorkArea", {0, 0, 1200, 900}, std::nullopt, kScreen, {0, 0}},
        CentreCase{"OddSizes", {0, 0, 301, 201}, std::nullopt, {0, 0, 1001, 701}, {350, 250}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MinimisedIcon, CentresWithTheHalvesTruncatedTowardZero) {
  EXPECT_EQ(minimisedIconPosition(32, 32, 32, 32), (Point{0, 0}));
  EXPECT_EQ(minimisedIconPosition(100, 51, 32, 32), (Point{34, 10}));
  EXPECT_EQ(minimisedIconPosition(33, 34, 32, 32), (Point{1, 1}));
  // A client area smaller than the icon: (0 - 32 + 1) / 2 is -15, not -16.
  EXPECT_EQ(minimisedIconPosition(0, 0, 32, 32), (Point{-15, -15}));
}

}  // namespace
}  // namespace qlx
