#include <gtest/gtest.h>

#include <string>

#include "runtime/CommandTail.h"

namespace qlx::runtime {
namespace {

struct TailCase {
  const char* commandLine;
  const char* tail;
};

class CommandTailTest : public testing::TestWithParam<TailCase> {};

TEST_P(CommandTailTest, SkipsTheProgramNameAndTheBlanksAfterIt) {
  EXPECT_EQ(std::string(commandTail(GetParam().commandLine)), GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CommandTailTest,
    testing::Values(TailCase{"QLX957_Installer.exe", ""}, TailCase{"QLX957_Installer.exe /q", "/q"},
                    TailCase{"setup.exe \t  /q /log x", "/q /log x"},
                    // A quoted name may hold blanks; the tail starts after the quote.
                    TailCase{"\"C:\\Program Files\\pkg\\setup.exe\" /q", "/q"},
                    TailCase{"\"C:\\a b\\setup.exe\"/q", "/q"},
                    TailCase{"\"C:\\a b\\setup.exe\"", ""},
                    // An unclosed quote swallows the rest, as Windows' own start-up does.
                    TailCase{"\"C:\\a b\\setup.exe /q", ""}, TailCase{"", ""},
                    TailCase{"   /q", "/q"}));

TEST(CommandTail, NullCommandLineGivesAnEmptyTail) { EXPECT_STREQ(commandTail(nullptr), ""); }

}  // namespace
}  // namespace qlx::runtime
