#include <gtest/gtest.h>

#include "app/DialogInit.h"
#include "tests/app/FakeDialogControls.h"

namespace qlx {
namespace {

using testing::FakeDialogControls;

void appendWord(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void appendEntry(std::vector<std::uint8_t>& out, std::uint32_t id, std::uint32_t message,
                 const std::string& data) {
  appendWord(out, id);
  appendWord(out, message);
  appendWord(out, static_cast<std::uint32_t>(data.size()));
  appendWord(out, static_cast<std::uint32_t>(data.size()) >> 16);
  out.insert(out.end(), data.begin(), data.end());
}

TEST(DialogInitParse, ReadsThePortDialogRecord) {
  auto entries = parseDialogInit(testing::portDialogRecord());
  ASSERT_TRUE(entries);
  std::vector<DialogInitEntry> expected = {
      {1000, kCbAddString, std::string("Overwrite files by version\0", 27)},
      {1000, kCbAddString, std::string("Overwrite files by date\0", 24)},
      {1000, kCbAddString, std::string("Always overwrite\0", 17)},
      {1000, kCbAddString, std::string("Never overwrite\0", 16)},
  };
  EXPECT_EQ(*entries, expected);
}

TEST(DialogInitParse, TranslatesOnlyThe16BitAddStringCodes) {
  std::vector<std::uint8_t> bytes;
  appendEntry(bytes, 7, 0x0401, "a");
  appendEntry(bytes, 8, 0x0403, "b");
  appendEntry(bytes, 0xFFFF, 0x0143, "");
  appendEntry(bytes, 9, 0x1234, "xyz");
  appendWord(bytes, 0);
  appendWord(bytes, 0xBEEF);  // past the end mark: ignored

  auto entries = parseDialogInit(bytes);
  ASSERT_TRUE(entries);
  ASSERT_EQ(entries->size(), 4u);
  EXPECT_EQ((*entries)[0].message, kLbAddString);
  EXPECT_EQ((*entries)[1].message, kCbAddString);
  EXPECT_EQ((*entries)[2].message, kCbAddString);
  EXPECT_EQ((*entries)[2].controlId, 0xFFFF);
  EXPECT_EQ((*entries)[3].message, 0x1234u);
  EXPECT_EQ((*entries)[3].data, "xyz");
}

TEST(DialogInitParse, EmptyRecordHasNoEntries) {
  std::vector<std::uint8_t> bytes = {0, 0};
  auto entries = parseDialogInit(bytes);
  ASSERT_TRUE(entries);
  EXPECT_TRUE(entries->empty());
}

// Cut anywhere before its end mark, a record is refused rather than read past.
TEST(DialogInitParse, RefusesEveryTruncation) {
  std::vector<std::uint8_t> bytes = testing::portDialogRecord();
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    std::span<const std::uint8_t> cut(bytes.data(), length);
    EXPECT_FALSE(parseDialogInit(cut)) << "length " << length;
  }
  std::vector<std::uint8_t> huge;
  appendEntry(huge, 1000, 0x0403, "");
  huge[4] = 0xFF;  // claims 255 data bytes that are not there
  appendWord(huge, 0);
  EXPECT_FALSE(parseDialogInit(huge));
}

TEST(DialogInitApply, AddsTheItemsInRecordOrder) {
  FakeDialogControls controls = testing::portTypeTemplate();
  auto entries = parseDialogInit(testing::portDialogRecord());
  ASSERT_TRUE(entries);
  EXPECT_TRUE(applyDialogInit(*entries, controls));
  EXPECT_EQ(controls.byId(1000).items,
            (std::vector<std::string>{"Overwrite files by version", "Overwrite files by date",
                                      "Always overwrite", "Never overwrite"}));
}

TEST(DialogInitApply, FailsForAMissingControlOrARefusedItem) {
  std::vector<DialogInitEntry> entries = {{1000, kCbAddString, std::string("x\0", 2)}};
  FakeDialogControls missing = testing::portTypeTemplate();
  EXPECT_FALSE(applyDialogInit({{4242, kCbAddString, "x"}}, missing));

  FakeDialogControls full = testing::portTypeTemplate();
  full.refuseAdd = true;  // CB_ERRSPACE
  EXPECT_FALSE(applyDialogInit(entries, full));
}

}  // namespace
}  // namespace qlx
