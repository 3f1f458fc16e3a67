#include <gtest/gtest.h>

#include "app/ApplicationTitle.h"

namespace qlx {
namespace {

struct TitleCase {
  const char* path;
  const char* title;
};

class Title : public ::testing::TestWithParam<TitleCase> {};

TEST_P(Title, IsTheFileNameWithoutExtension) {
  EXPECT_EQ(applicationTitle(GetParam().path), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, Title,
    ::testing::Values(TitleCase{"C:\\Setup\\QLX957_Installer.exe", "QLX957_Installer"},
                      TitleCase{"QLX957_Installer.EXE", "QLX957_Installer"},
                      TitleCase{"C:\\my.dir\\setup", "setup"},
                      TitleCase{"C:\\a\\setup.v2.exe", "setup.v2"},
                      TitleCase{"C:setup.exe", "setup"}, TitleCase{"\\\\server\\share\\x.exe", "x"},
                      TitleCase{"C:/Setup/x.exe", "x"}, TitleCase{"", ""}));

bool shiftJisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

TEST(Title, TrailBytesAreNotSeparators) {
  // "\x83\x5C" is one double-byte character whose second byte equals '\\'.
  const char* path = "C:\\\x83\x5C\\\x83\x5Cx.exe";
  EXPECT_EQ(applicationTitle(path, &shiftJisLead), "\x83\x5Cx");
  EXPECT_EQ(applicationTitle(path), "x") << "without the code page the trail byte splits";
}

TEST(AppMessageBoxType, OnlyIconlessOkBoxesGetTheWarningIcon) {
  EXPECT_EQ(applicationMessageBoxType(0x0), 0x30u);         // MB_OK
  EXPECT_EQ(applicationMessageBoxType(0x40000), 0x40030u);  // MB_OK | MB_TOPMOST
  EXPECT_EQ(applicationMessageBoxType(0x10), 0x10u);        // MB_ICONHAND kept
  EXPECT_EQ(applicationMessageBoxType(0x40), 0x40u);        // MB_ICONINFORMATION kept
  EXPECT_EQ(applicationMessageBoxType(0x4), 0x4u);          // MB_YESNO untouched
  EXPECT_EQ(applicationMessageBoxType(0x1), 0x1u);          // MB_OKCANCEL untouched
}

}  // namespace
}  // namespace qlx
