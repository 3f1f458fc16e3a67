#include <gtest/gtest.h>

#include "core/Options.h"

namespace prefixstate {
namespace {

using Codes = std::vector<std::uint32_t>;
using Paths = std::vector<std::string>;

TEST(Options, RepeatedOptionsKeepTheirOrderAndEachValueOnce) {
  const ParsedOptions parsed =
      parseOptions({"--dir", "C:\\windows\\system32", "--errtext", "2", "--out", "Z:\\tmp\\s.json",
                    "--dir", "C:\\windows\\QLX-957", "--errtext", "0x7F", "--dir",
                    "C:\\windows\\system32", "--errtext", "127"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.outFile, "Z:\\tmp\\s.json");
  EXPECT_EQ(parsed.options.directories, (Paths{"C:\\windows\\system32", "C:\\windows\\QLX-957"}));
  EXPECT_EQ(parsed.options.errorCodes, (Codes{2, 127}));
}

TEST(Options, RefusesWhatItCannotUse) {
  EXPECT_NE(parseOptions({}).error, "");                             // no --out
  EXPECT_NE(parseOptions({"--dir", "C:\\"}).error, "");              // no --out
  EXPECT_NE(parseOptions({"--out"}).error, "");                      // no value
  EXPECT_NE(parseOptions({"--out", "f", "--dir"}).error, "");        // no value
  EXPECT_NE(parseOptions({"--out", "f", "C:\\windows"}).error, "");  // stray argument
  EXPECT_NE(parseOptions({"--out", "f", "--errtext", "File"}).error, "");
}

TEST(ErrorCode, DecimalAndHexadecimalUpTo32Bits) {
  EXPECT_EQ(parseErrorCode("0"), 0u);
  EXPECT_EQ(parseErrorCode("1802"), 1802u);
  EXPECT_EQ(parseErrorCode("0x70A"), 1802u);
  EXPECT_EQ(parseErrorCode("0XffffFFFF"), 0xFFFFFFFFu);
  EXPECT_EQ(parseErrorCode("4294967295"), 0xFFFFFFFFu);
  EXPECT_EQ(parseErrorCode("4294967296"), std::nullopt);
  EXPECT_EQ(parseErrorCode("0x100000000"), std::nullopt);
  EXPECT_EQ(parseErrorCode("99999999999999999999999"), std::nullopt);
  EXPECT_EQ(parseErrorCode(""), std::nullopt);
  EXPECT_EQ(parseErrorCode("0x"), std::nullopt);
  EXPECT_EQ(parseErrorCode("-1"), std::nullopt);
  EXPECT_EQ(parseErrorCode("12a"), std::nullopt);
}

}  // namespace
}  // namespace prefixstate
