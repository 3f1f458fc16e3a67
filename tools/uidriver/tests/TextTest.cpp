#include <gtest/gtest.h>

#include <cstring>

#include "core/Text.h"

namespace uidriver {
namespace {

TEST(Utf, ConvertsBothWaysAcrossAllLengths) {
  const std::u16string wide = u"A\u00E9\u20AC\U0001F5A8";  // 1, 2, 3 and 4 UTF-8 bytes
  const std::string narrow = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x96\xA8";
  EXPECT_EQ(utf16ToUtf8(wide), narrow);
  EXPECT_EQ(utf8ToUtf16(narrow), wide);
  EXPECT_EQ(utf16ToUtf8(u""), "");
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), replacement + "x");
  EXPECT_EQ(utf16ToUtf8(u"x" + std::u16string(1, char16_t(0xDC00))), "x" + replacement);
  EXPECT_EQ(utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");            // overlong NUL
  EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(utf8ToUtf16("ab\xE2\x82"), u"ab\uFFFD\uFFFD");        // cut short
}

class ListItem : public ::testing::Test {
 protected:
  std::u16string buffer = std::u16string(64, u'\0');
  void putBytes(const char* text) { std::memcpy(buffer.data(), text, std::strlen(text)); }
  std::string read(long returned) { return listItemText(buffer.data(), buffer.size(), returned); }
};

TEST_F(ListItem, ReadsTheWideFormWineSends) {
  std::u16string text = u"Overwrite files by version";
  buffer.replace(0, text.size(), text);
  EXPECT_EQ(read(26), "Overwrite files by version");
}

TEST_F(ListItem, ReadsAnsiBytesWhenTheirLengthIsTheOneReported) {
  putBytes("Never overwrite");
  EXPECT_EQ(read(15), "Never overwrite");
  buffer.assign(64, u'\0');
  putBytes("caf\xE9");
  EXPECT_EQ(read(4), "caf\xC3\xA9");  // Latin-1 byte to UTF-8
}

TEST_F(ListItem, OneCharacterItemsAreTakenAsWide) {
  buffer[0] = u'A';
  EXPECT_EQ(read(1), "A");
}

TEST_F(ListItem, ErrorsAndUnterminatedBuffersGiveWhatIsThere) {
  EXPECT_EQ(read(-1), "");  // CB_ERR
  buffer.assign(4, u'x');   // no terminator anywhere: must not read past the end
  EXPECT_EQ(read(7), "xxxx");
  EXPECT_EQ(listItemText(nullptr, 0, 3), "");
}

}  // namespace
}  // namespace uidriver
