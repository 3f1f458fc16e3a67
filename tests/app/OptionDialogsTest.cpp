#include <gtest/gtest.h>

#include "app/DialogInit.h"
#include "app/OptionDialogBindings.h"
#include "tests/app/FakeDialogControls.h"

namespace qlx {
namespace {

using testing::FakeDialogControls;

struct OpenedPortDialog {
  PortTypeDialog data;
  FakeDialogControls controls = testing::portTypeTemplate();
  PortTypeDialogBinding binding{data};
  std::vector<std::uint8_t> record = testing::portDialogRecord();

  bool open() {
    std::span<const std::uint8_t> bytes(record);
    return openDialog(controls, &bytes, binding);
  }
};

TEST(PortTypeDialog, OpensWithItemsLpt1AndTheFirstPolicy) {
  OpenedPortDialog dialog;
  ASSERT_TRUE(dialog.open());
  EXPECT_EQ(dialog.controls.checkedIds(), std::vector<int>{1007});
  EXPECT_EQ(dialog.controls.byId(1000).selection, 0);

  // The items exist before the exchange runs, and the exchange's "no
  // selection" (overwriteIndex -1) comes before the final CB_SETCURSEL 0.
  std::vector<std::pair<unsigned, std::uintptr_t>> comboMessages;
  for (const auto& m : dialog.controls.log) {
    if (m.id == 1000) comboMessages.emplace_back(m.message, m.wParam);
  }
  std::vector<std::pair<unsigned, std::uintptr_t>> expected = {
      {kCbAddString, 0},
      {kCbAddString, 0},
      {kCbAddString, 0},
      {kCbAddString, 0},
      {kCbSetCurSel, static_cast<std::uintptr_t>(-1)},
      {kCbSetCurSel, 0}};
  EXPECT_EQ(comboMessages, expected);
}

struct PortChoice {
  int checkedId;
  int comboSelection;
  int portIndex;
  int overwriteIndex;
};

class PortTypeDialogChoice : public ::testing::TestWithParam<PortChoice> {};

TEST_P(PortTypeDialogChoice, ConfirmReadsBothChoices) {
  const PortChoice& c = GetParam();
  OpenedPortDialog dialog;
  ASSERT_TRUE(dialog.open());
  if (c.checkedId != 0) {  // the user clicks another port: auto radio buttons
    for (auto& control : dialog.controls.controls) control.checked = control.id == c.checkedId;
  }
  if (c.comboSelection >= 0) dialog.controls.byId(1000).selection = c.comboSelection;

  confirmDialog(dialog.controls, dialog.binding);
  EXPECT_EQ(dialog.data.portIndex, c.portIndex);
  EXPECT_EQ(dialog.data.overwriteIndex, c.overwriteIndex);
}

INSTANTIATE_TEST_SUITE_P(Choices, PortTypeDialogChoice,
                         ::testing::Values(PortChoice{0, -1, 4, 0},      // confirmed at once
                                           PortChoice{1009, 3, 2, 3},    // COM3, never overwrite
                                           PortChoice{1006, 1, 0, 1},    // COM1, by date
                                           PortChoice{1011, 2, 3, 2},    // COM4, always
                                           PortChoice{1010, 0, 5, 0}));  // LPT2

TEST(PortTypeDialog, MalformedRecordFailsTheOpeningBeforeAnyExchange) {
  OpenedPortDialog dialog;
  dialog.record.resize(dialog.record.size() - 1);
  EXPECT_FALSE(dialog.open());
  EXPECT_TRUE(dialog.controls.checkedIds().empty());
  EXPECT_FALSE(dialog.binding.overwriteCombo.attached());
}

TEST(OsTypeDialog, PreselectsAndReadsBackThePlatform) {
  OsTypeDialog data;
  data.osIndex = 1;
  FakeDialogControls controls = testing::osTypeTemplate();
  OsTypeDialogBinding binding(data);
  ASSERT_TRUE(openDialog(controls, nullptr, binding));
  EXPECT_EQ(controls.checkedIds(), std::vector<int>{1001});  // "Windows 98"

  for (auto& control : controls.controls) control.checked = control.id == 1003;  // "Windows XP"
  confirmDialog(controls, binding);
  EXPECT_EQ(data.osIndex, 5);
}

TEST(OsTypeDialog, UnrecognisedPlatformChecksNothingAndReadsBackMinusOne) {
  OsTypeDialog data;
  data.osIndex = 0 - 2000;  // the unrecognised code minus Windows 95's
  FakeDialogControls controls = testing::osTypeTemplate();
  OsTypeDialogBinding binding(data);
  ASSERT_TRUE(openDialog(controls, nullptr, binding));
  EXPECT_TRUE(controls.checkedIds().empty());
  confirmDialog(controls, binding);
  EXPECT_EQ(data.osIndex, -1);
}

}  // namespace
}  // namespace qlx
