#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/MultiString.h"

namespace prefixstate {
namespace {

using Names = std::vector<std::string>;

// A heap block of exactly the bytes given, so that a read past it is caught.
std::vector<std::string> split(const std::string& bytes) {
  auto block = std::make_unique<char[]>(bytes.size());
  std::memcpy(block.get(), bytes.data(), bytes.size());
  return splitMultiString(block.get(), block.get() + bytes.size());
}

TEST(MultiString, NamesInOrderUpToTheDoubleZero) {
  EXPECT_EQ(split(std::string("RASDDUI.DLL\0RASDDUI.HLP\0RASDD.DLL\0\0", 35)),
            (Names{"RASDDUI.DLL", "RASDDUI.HLP", "RASDD.DLL"}));
  // What follows the list in the buffer (the next record's strings) is not part of it.
  EXPECT_EQ(split(std::string("a\0\0other\0", 9)), Names{"a"});
}

TEST(MultiString, EmptyListsGiveNoNames) {
  EXPECT_EQ(split(std::string("\0\0", 2)), Names{});
  EXPECT_EQ(split(std::string(1, '\0')), Names{});
  EXPECT_EQ(split(""), Names{});
}

TEST(MultiString, StopsAtTheBufferEndWhenTheTerminatorIsMissing) {
  EXPECT_EQ(split(std::string("one\0two", 7)), (Names{"one", "two"}));
  EXPECT_EQ(split(std::string("one\0", 4)), Names{"one"});
  EXPECT_EQ(split("unterminated"), Names{"unterminated"});
}

}  // namespace
}  // namespace prefixstate
