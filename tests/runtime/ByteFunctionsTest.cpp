#include <gtest/gtest.h>

#include <string>

#include "runtime/ByteFunctions.h"

namespace qlx::runtime {
namespace {

// Moves within "0123456789": target offset, source offset, count, result.
struct MoveCase {
  std::size_t target;
  std::size_t source;
  std::size_t count;
  const char* expected;
};

class MoveBytesTest : public testing::TestWithParam<MoveCase> {};

TEST_P(MoveBytesTest, OverlappingRangesCopyAsIfThroughABuffer) {
  char text[] = "0123456789";
  const MoveCase& c = GetParam();
  EXPECT_EQ(moveBytes(text + c.target, text + c.source, c.count), text + c.target);
  EXPECT_STREQ(text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Ranges, MoveBytesTest,
                         testing::Values(MoveCase{2, 0, 6, "0101234589"},  // target above
                                         MoveCase{0, 2, 6, "2345676789"},  // target below
                                         MoveCase{5, 0, 5, "0123401234"},  // adjacent
                                         MoveCase{3, 3, 4, "0123456789"},  // same place
                                         MoveCase{1, 0, 0, "0123456789"},  // nothing
                                         MoveCase{1, 0, 9, "0012345678"}));

TEST(ByteFunctions, CopyAndFillTouchExactlyTheirRange) {
  char text[] = "abcdefgh";
  copyBytes(text + 1, "XYZ", 3);
  EXPECT_STREQ(text, "aXYZefgh");
  fillBytes(text + 4, 0x2D + 0x100, 2);  // only the low byte counts
  EXPECT_STREQ(text, "aXYZ--gh");
}

TEST(ByteFunctions, CompareOrdersBytesAsUnsigned) {
  EXPECT_EQ(compareBytes("abc", "abc", 3), 0);
  EXPECT_LT(compareBytes("abc", "abd", 3), 0);
  EXPECT_GT(compareBytes("\x80", "\x7f", 1), 0);
  EXPECT_EQ(compareBytes("abX", "abY", 2), 0);
  EXPECT_EQ(compareBytes("x", "y", 0), 0);
}

TEST(ByteFunctions, FindStopsAtTheCount) {
  const char text[] = "abc\0d";
  EXPECT_EQ(findByte(text, 'c', 5), text + 2);
  EXPECT_EQ(findByte(text, 0, 5), text + 3);
  EXPECT_EQ(findByte(text, 'd', 4), nullptr);
  EXPECT_EQ(findByte(text, 'a' + 0x100, 1), text);
}

TEST(ByteFunctions, LengthsStopAtTheTerminatorOrTheLimit) {
  EXPECT_EQ(stringLength(""), 0u);
  EXPECT_EQ(stringLength("abc"), 3u);
  const char unterminated[3] = {'a', 'b', 'c'};
  EXPECT_EQ(boundedStringLength(unterminated, 3), 3u);  // never reads a fourth byte
  EXPECT_EQ(boundedStringLength("ab", 5), 2u);
  EXPECT_EQ(boundedStringLength("abc", 0), 0u);
}

}  // namespace
}  // namespace qlx::runtime
