#include <gtest/gtest.h>

#include "core/Answers.h"
#include "core/Layout.h"

namespace uidriver {
namespace {

TEST(BoxButton, TheRestartQuestionGetsTheScriptedAnswer) {
  Script script;
  const std::vector<int> yesNo = {kYesButton, kNoButton};
  EXPECT_EQ(boxButton(script, kRestartCaption, yesNo), kNoButton);
  script.restartYes = true;
  EXPECT_EQ(boxButton(script, kRestartCaption, yesNo), kYesButton);
  // A Yes/No box is a question whatever its caption.
  EXPECT_EQ(boxButton(script, "Other", yesNo), kYesButton);
  EXPECT_EQ(boxButton(script, kRestartCaption, {kNoButton}), 0);
}

TEST(BoxButton, EveryOtherBoxIsConfirmed) {
  Script script;
  script.restartYes = true;
  EXPECT_EQ(boxButton(script, "QLX957_Installer", {kOkButton}), kOkButton);
  EXPECT_EQ(boxButton(script, "QLX957_Installer", {kOkButton, kCancelButton}), kOkButton);
  EXPECT_EQ(boxButton(script, "QLX957_Installer", {kCancelButton}), kCancelButton);
  EXPECT_EQ(boxButton(script, "QLX957_Installer", {}), 0);
}

TEST(EndsAt, TheStatusAsShownWithItsLineEnd) {
  Script script;
  EXPECT_FALSE(endsAt(script, ""));
  EXPECT_FALSE(endsAt(script, "Copy files...\r\n"));
  script.endAtStatus = "Copy files...";
  EXPECT_TRUE(endsAt(script, "Copy files...\r\n"));
  EXPECT_TRUE(endsAt(script, "Copy files..."));
  EXPECT_FALSE(endsAt(script, "Copy files"));
  EXPECT_FALSE(endsAt(script, "Copy files...\r\nmore"));
  EXPECT_FALSE(endsAt(script, "copy files...\r\n"));
}

TEST(Layout, ClassifiesTheInstallersWindows) {
  EXPECT_EQ(classifyWindow("#32770", kProgressCaption), WindowKind::Progress);
  EXPECT_EQ(classifyWindow("#32770", kOsCaption), WindowKind::OsDialog);
  EXPECT_EQ(classifyWindow("#32770", kPortCaption), WindowKind::PortDialog);
  EXPECT_EQ(classifyWindow("#32770", "QLX957_Installer"), WindowKind::MessageBox);
  EXPECT_EQ(classifyWindow("#32770", kRestartCaption), WindowKind::MessageBox);
  EXPECT_EQ(classifyWindow("IME", kOsCaption), WindowKind::Other);
}

TEST(Layout, RadioIndicesFollowTemplateOrderNotIds) {
  EXPECT_EQ(radioIndex(radioIds(WindowKind::OsDialog), 1003), 5);     // Windows XP
  EXPECT_EQ(radioIndex(radioIds(WindowKind::OsDialog), 1002), 3);     // Windows NT 4.0
  EXPECT_EQ(radioIndex(radioIds(WindowKind::OsDialog), 1006), 6);     // Server 2003
  EXPECT_EQ(radioIndex(radioIds(WindowKind::OsDialog), 1007), 7);     // Vista or later
  EXPECT_EQ(radioIndex(radioIds(WindowKind::PortDialog), 1007), 4);   // LPT1
  EXPECT_EQ(radioIndex(radioIds(WindowKind::PortDialog), 1009), 2);   // COM3
  EXPECT_EQ(radioIndex(radioIds(WindowKind::PortDialog), 1000), -1);  // the combo box
  EXPECT_TRUE(radioIds(WindowKind::MessageBox).empty());
}

}  // namespace
}  // namespace uidriver
