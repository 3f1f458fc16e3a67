#include <gtest/gtest.h>

#include "app/DialogFramework.h"
#include "tests/app/FakeDialogControls.h"

namespace qlx {
namespace {

using testing::FakeDialogControls;

void exchange(FakeDialogControls& controls, ExchangeDirection direction, int firstId, int& index) {
  DataExchange dx(controls, direction);
  dx.radioGroup(firstId, index);
}

struct RadioCase {
  const char* name;
  FakeDialogControls (*layout)();
  int firstId;
  int index;
  std::vector<int> checkedIds;  // after the exchange toward the controls
};

class RadioGroupTest : public ::testing::TestWithParam<RadioCase> {};

// Toward the controls the button at the index is checked and no other; from
// the controls the same button gives back the same index.
TEST_P(RadioGroupTest, IndexCountsRadioButtonsInTemplateOrder) {
  const RadioCase& c = GetParam();
  FakeDialogControls controls = c.layout();
  for (auto& control : controls.controls) {  // stale checks are cleared
    control.checked = (control.style & kBsTypeMask) == kBsAutoRadioButton;
  }

  int index = c.index;
  exchange(controls, ExchangeDirection::ToControls, c.firstId, index);
  EXPECT_EQ(controls.checkedIds(), c.checkedIds);

  int readBack = 12345;
  exchange(controls, ExchangeDirection::FromControls, c.firstId, readBack);
  EXPECT_EQ(readBack, c.checkedIds.empty() ? -1 : c.index);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, RadioGroupTest,
    ::testing::Values(RadioCase{"Windows95", testing::osTypeTemplate, 1000, 0, {1000}},
                      RadioCase{"Windows98", testing::osTypeTemplate, 1000, 1, {1001}},
                      RadioCase{"WindowsMe", testing::osTypeTemplate, 1000, 2, {1005}},
                      RadioCase{"WindowsNt4", testing::osTypeTemplate, 1000, 3, {1002}},
                      RadioCase{"Windows2000", testing::osTypeTemplate, 1000, 4, {1004}},
                      RadioCase{"WindowsXp", testing::osTypeTemplate, 1000, 5, {1003}},
                      RadioCase{"Server2003", testing::osTypeTemplate, 1000, 6, {1006}},
                      RadioCase{"OsVistaOrLater", testing::osTypeTemplate, 1000, 7, {1007}},
                      RadioCase{"OsPastTheEnd", testing::osTypeTemplate, 1000, 8, {}},
                      RadioCase{"OsUnrecognised", testing::osTypeTemplate, 1000, -2000, {}},
                      RadioCase{"OsNone", testing::osTypeTemplate, 1000, -1, {}},
                      RadioCase{"Com1", testing::portTypeTemplate, 1006, 0, {1006}},
                      RadioCase{"Com2", testing::portTypeTemplate, 1006, 1, {1008}},
                      RadioCase{"Com3", testing::portTypeTemplate, 1006, 2, {1009}},
                      RadioCase{"Com4", testing::portTypeTemplate, 1006, 3, {1011}},
                      RadioCase{
                          "Lpt1AcrossTheGroupBox", testing::portTypeTemplate, 1006, 4, {1007}},
                      RadioCase{"Lpt2", testing::portTypeTemplate, 1006, 5, {1010}},
                      RadioCase{"PortPastTheEnd", testing::portTypeTemplate, 1006, 6, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RadioGroup, EndsAtTheNextControlThatStartsAGroup) {
  FakeDialogControls controls = testing::portTypeTemplate();
  controls.radio(2000);  // after the static text: another group
  controls.radio(2001, true);
  controls.byId(2000).checked = true;

  int index = 0;
  exchange(controls, ExchangeDirection::FromControls, 1006, index);
  EXPECT_EQ(index, -1);

  index = 6;
  exchange(controls, ExchangeDirection::ToControls, 1006, index);
  EXPECT_TRUE(controls.byId(2000).checked) << "a button of the next group was touched";
}

TEST(RadioGroup, CountsOnlyRadioButtons) {
  FakeDialogControls controls;
  controls.radio(10, true);
  controls.add(11, "Button", testing::kBsAutoCheckBox);
  controls.add(12, "BUTTON", kBsRadioButton);      // plain radio buttons count too
  controls.add(13, "Static", kBsAutoRadioButton);  // a style value alone is not enough
  controls.radio(14);

  int index = 2;
  exchange(controls, ExchangeDirection::ToControls, 10, index);
  EXPECT_EQ(controls.checkedIds(), std::vector<int>{14});

  controls.byId(14).checked = false;
  controls.byId(12).checked = true;
  exchange(controls, ExchangeDirection::FromControls, 10, index);
  EXPECT_EQ(index, 1);
}

TEST(RadioGroup, MissingFirstControlLeavesTheMemberAlone) {
  FakeDialogControls controls = testing::osTypeTemplate();
  int index = 3;
  exchange(controls, ExchangeDirection::FromControls, 4242, index);
  EXPECT_EQ(index, 3);
  EXPECT_TRUE(controls.log.empty());
}

TEST(ControlAttachment, HappensOnceAndRoutesMessages) {
  FakeDialogControls controls;
  controls.add(1000, "msctls_progress32", 0).add(1001, "msctls_progress32", 0);
  ControlObject bar;
  EXPECT_EQ(bar.sendMessage(kPbmStepIt, 0, 0), 0) << "unattached: goes nowhere";
  EXPECT_TRUE(controls.log.empty());

  DataExchange(controls, ExchangeDirection::ToControls).attach(1000, bar);
  DataExchange(controls, ExchangeDirection::ToControls).attach(1001, bar);
  bar.sendMessage(kPbmStepIt, 0, 0);
  ASSERT_EQ(controls.log.size(), 1u);
  EXPECT_EQ(controls.log[0].id, 1000);
  EXPECT_EQ(controls.log[0].message, kPbmStepIt);

  controls.detachAll();  // the dialog's window went away
  EXPECT_FALSE(bar.attached());
  bar.sendMessage(kPbmStepIt, 0, 0);
  EXPECT_EQ(controls.log.size(), 1u);
}

}  // namespace
}  // namespace qlx
