#include <gmock/gmock.h>

#include "app/InstallFlow.h"
#include "support/InstallerFixture.h"

namespace qlx::testing_support {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class InstallFlow : public ::testing::Test {
 protected:
  InstallFlow() { addDriverPackage(fake); }
  int run() {
    return runInstallFlow(fake.platform(), {}, osTypeDialog, portTypeDialog, fake, fake);
  }
  // The environment handed to the procedure tells which one ran.
  std::string procedureRun() const {
    const auto monitors = fake.monitorCalls();
    if (fake.callTexts("EnumPrinterDriversA").empty()) return "none";
    if (!monitors.empty() && monitors[0].environment == "Windows 4.0") return "installWin9x";
    const auto enumerations = fake.callTexts("EnumPrinterDriversA");
    return enumerations[0].find(", 4, ") != std::string::npos ? "installWin2000Family"
                                                              : "installWinNtFamily";
  }
  std::vector<std::string> appBoxes() const {
    std::vector<std::string> texts;
    for (const auto& box : fake.messageBoxes()) {
      if (box.applicationBox) texts.push_back(box.text);
    }
    return texts;
  }

  fake::FakePlatform fake;
  OsTypeDialog osTypeDialog;
  PortTypeDialog portTypeDialog;
};

struct RoutingCase {
  const char* label;
  Dword platformId, major, minor;
  int preselected;
  const char* procedure;
};

class FlowRouting : public InstallFlow, public ::testing::WithParamInterface<RoutingCase> {};

TEST_P(FlowRouting, DetectedPlatformAloneChoosesTheProcedure) {
  const RoutingCase& c = GetParam();
  fake.setVersion(c.platformId, c.major, c.minor);
  // The user picks Windows XP whatever was detected: it changes nothing.
  fake.scriptOsDialog(DialogResult::Ok, 5);
  EXPECT_EQ(run(), kExitSuccess);
  EXPECT_EQ(fake.osIndexShown(), c.preselected);
  EXPECT_EQ(procedureRun(), c.procedure);
}

INSTANTIATE_TEST_SUITE_P(
    SupportedPlatforms, FlowRouting,
    ::testing::Values(RoutingCase{"Windows95", 1, 4, 0, 0, "installWin9x"},
                      RoutingCase{"Windows98", 1, 4, 10, 1, "installWin9x"},
                      RoutingCase{"WindowsMe", 1, 4, 90, 2, "installWin9x"},
                      RoutingCase{"WindowsNt351", 2, 3, 51, 3, "installWinNtFamily"},
                      RoutingCase{"WindowsNt4", 2, 4, 0, 3, "installWinNtFamily"},
                      RoutingCase{"Windows2000", 2, 5, 0, 4, "installWinNtFamily"},
                      RoutingCase{"WindowsXp", 2, 5, 1, 5, "installWinNtFamily"},
                      RoutingCase{"Server2003", 2, 5, 2, 6, "installWin2000Family"},
                      RoutingCase{"WindowsVista", 2, 6, 0, 7, "installWin2000Family"},
                      RoutingCase{"Windows7", 2, 6, 1, 7, "installWin2000Family"},
                      RoutingCase{"Windows81", 2, 6, 3, 7, "installWin2000Family"},
                      RoutingCase{"Windows10", 2, 10, 0, 7, "installWin2000Family"}),
    [](const auto& info) { return std::string(info.param.label); });

// Runs the dialogs on the fake machine and notes what the flow had done by
// the time each one opened.
class WatchedDialogs final : public OptionDialogRunner {
 public:
  struct Opening {
    std::string dialog;
    std::size_t boxesShown = 0;
  };
  explicit WatchedDialogs(fake::FakePlatform& machine) : machine_(machine) {}
  DialogResult runModal(OsTypeDialog& dialog) override {
    note("os");
    return machine_.runModal(dialog);
  }
  DialogResult runModal(PortTypeDialog& dialog) override {
    note("port");
    return machine_.runModal(dialog);
  }
  std::vector<Opening> openings;

 private:
  void note(const char* dialog) { openings.push_back({dialog, machine_.messageBoxes().size()}); }
  fake::FakePlatform& machine_;
};

// A dialog that cannot open counts as a cancel; after the OS dialog the port
// dialog never opens; either way nothing is installed.
TEST_F(InstallFlow, CancelledOrFailedDialogEndsWithInstallCancled) {
  for (const bool inOsDialog : {true, false}) {
    for (DialogResult result : {DialogResult::Cancel, DialogResult::Error}) {
      SCOPED_TRACE(std::string(inOsDialog ? "OS" : "port") + " dialog, result " +
                   std::to_string(static_cast<int>(result)));
      fake::FakePlatform machine;
      addDriverPackage(machine);
      OsTypeDialog os;
      PortTypeDialog port;
      if (inOsDialog) {
        machine.scriptOsDialog(result);
      } else {
        machine.scriptPortDialog(result);
      }
      EXPECT_EQ(runInstallFlow(machine.platform(), {}, os, port, machine, machine), kExitSuccess);
      EXPECT_EQ(machine.osDialogRuns(), 1);
      EXPECT_EQ(machine.portDialogRuns(), inOsDialog ? 0 : 1);
      ASSERT_EQ(machine.messageBoxes().size(), 1u);
      EXPECT_TRUE(machine.messageBoxes()[0].applicationBox);
      EXPECT_EQ(machine.messageBoxes()[0].text, "Install Cancled.");
      EXPECT_EQ(machine.messageBoxes()[0].type, kMbOk);
      EXPECT_TRUE(machine.callTexts("EnumPrinterDriversA").empty());
    }
  }
}

TEST_F(InstallFlow, PortIndexBecomesThePortCode) {
  const std::pair<int, const char*> ports[] = {{0, "COM1:"}, {1, "COM2:"}, {2, "COM3:"},
                                               {3, "COM4:"}, {4, "LPT1:"}, {5, "LPT2:"}};
  for (const auto& [index, name] : ports) {
    fake::FakePlatform machine;
    addDriverPackage(machine);
    OsTypeDialog os;
    PortTypeDialog port;
    machine.scriptPortDialog(DialogResult::Ok, index);
    runInstallFlow(machine.platform(), {}, os, port, machine, machine);
    ASSERT_EQ(machine.printerCalls().size(), 1u) << index;
    EXPECT_EQ(machine.printerCalls()[0].portName, name);
  }
}

// The overwrite policy reaches the shared unidrv.dll of Windows 9x: by
// version when the dialog is left as it is, or as the user chose.
TEST_F(InstallFlow, TheOverwriteChoiceDecidesOnTheSharedUniversalDriver) {
  const auto versioned = [](Dword ms, const char* contents) {
    fake::FakeFile file{contents};
    VsFixedFileInfo info{};
    info.dwSignature = kVsFixedFileInfoSignature;
    info.dwFileVersionMS = ms;
    file.version = info;
    return file;
  };
  struct Case {
    const char* label;
    std::optional<OverwriteMode> chosen;
    Dword installedVersion;
    const char* expected;
  };
  for (const Case& c : {Case{"untouched, older installed", std::nullopt, 0x00010000, "package"},
                        Case{"untouched, newer installed", std::nullopt, 0x00030000, "installed"},
                        Case{"always, newer installed", kOverwriteAlways, 0x00030000, "package"},
                        Case{"never, older installed", kOverwriteNever, 0x00010000, "installed"}}) {
    fake::FakePlatform machine;
    addDriverPackage(machine);
    machine.useWindows9xLayout();
    machine.addFile("C:\\SETUP\\driver9x\\unidrv.dll", versioned(0x00020000, "package"));
    machine.addFile("C:\\WINDOWS\\SYSTEM\\unidrv.dll", versioned(c.installedVersion, "installed"));
    if (c.chosen) machine.scriptPortDialog(DialogResult::Ok, 4, *c.chosen);
    OsTypeDialog os;
    PortTypeDialog port;
    runInstallFlow(machine.platform(), {}, os, port, machine, machine);
    EXPECT_EQ(machine.file("C:\\WINDOWS\\SYSTEM\\unidrv.dll")->contents, c.expected) << c.label;
    EXPECT_EQ(machine.printerCalls().at(0).portName, "LPT1:") << c.label;
  }
}

TEST_F(InstallFlow, NoPortCheckedRunsNoProcedure) {
  fake.setVersion(1, 4, 10);
  fake.scriptPortDialog(DialogResult::Ok, -1, kOverwriteByDate);
  EXPECT_EQ(run(), kExitSuccess);
  EXPECT_EQ(procedureRun(), "none");
  EXPECT_THAT(fake.messageBoxes(), IsEmpty());
}

TEST_F(InstallFlow, UnrecognisedPlatformSaysSoAfterTheDialogsAndFails) {
  for (const auto& version : {std::array<Dword, 3>{2, 6, 4}, {2, 5, 3}, {1, 4, 3}, {0, 3, 1}}) {
    fake::FakePlatform machine;
    addDriverPackage(machine);
    machine.setVersion(version[0], version[1], version[2]);
    OsTypeDialog os;
    PortTypeDialog port;
    WatchedDialogs dialogs(machine);
    EXPECT_EQ(runInstallFlow(machine.platform(), {}, os, port, dialogs, machine), kExitFailure);
    ASSERT_EQ(dialogs.openings.size(), 2u);
    EXPECT_EQ(dialogs.openings[1].dialog, "port");
    EXPECT_EQ(dialogs.openings[1].boxesShown, 0u);  // the box comes only after both
    EXPECT_FALSE(machine.osIndexShown() >= 0 && machine.osIndexShown() <= 7);
    ASSERT_EQ(machine.messageBoxes().size(), 1u);
    EXPECT_EQ(machine.messageBoxes()[0].text, "This version of Windows is not supported.");
    EXPECT_EQ(machine.messageBoxes()[0].type, kMbOk | kMbIconWarning);
    EXPECT_TRUE(machine.callTexts("EnumPrinterDriversA").empty());
    EXPECT_EQ(os.osIndex, -1);  // confirmed with no button checked
  }
}

TEST_F(InstallFlow, BothVersionQueriesFailingIsAnUnrecognisedPlatform) {
  fake.setVersionQueryFails(4);
  EXPECT_EQ(run(), kExitFailure);
  EXPECT_EQ(fake.callTexts("GetVersionExA").size(), 2u);
  EXPECT_EQ(appBoxes(), std::vector<std::string>{"This version of Windows is not supported."});
}

TEST_F(InstallFlow, OneFailedVersionQueryIsRetried) {
  fake.setVersion(2, 5, 2);
  fake.setVersionQueryFails(1);
  EXPECT_EQ(run(), kExitSuccess);
  EXPECT_EQ(procedureRun(), "installWin2000Family");
}

TEST_F(InstallFlow, FatalErrorEndsWithFailureStatus) {
  fake.failCall("AddPrinterA", 1797);
  EXPECT_EQ(run(), kExitFailure);
}

TEST_F(InstallFlow, NonFatalErrorsStillEndWithSuccess) {
  fake.setVersion(2, 5, 2);
  fake.failCall("AddMonitorA", 3006);
  EXPECT_EQ(run(), kExitSuccess);
  EXPECT_EQ(fake.statusString, "");  // the flow itself links no window
}

}  // namespace
}  // namespace qlx::testing_support
