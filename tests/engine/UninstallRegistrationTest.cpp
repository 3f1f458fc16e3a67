#include <gmock/gmock.h>

#include "engine/Reporter.h"
#include "engine/Restart.h"
#include "engine/UninstallRegistration.h"
#include "fake/FakePlatform.h"

namespace qlx {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

constexpr char kKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DALVERA_QLX-957";

std::string bytesOf(const fake::RegistryValue& value) {
  return std::string(value.data.begin(), value.data.end());
}

class RegisterUninstall : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"QLX957_Uninstaller.exe", "Uninstall_2k.dll", "Uninstall_98.dll"}) {
      fake.addFile(std::string("C:\\SETUP\\") + name, fake::FakeFile{std::string("new ") + name});
    }
  }
  bool registerUninstall() {
    const RunSettings settings;
    Reporter reporter(fake.platform(), settings);
    return qlx::registerUninstall(fake.platform(), reporter, false);
  }
  fake::FakePlatform fake;
};

TEST_F(RegisterUninstall, WritesThreeStringValuesWithTheirTerminatingZero) {
  registerUninstall();
  const auto values = fake.registryValues(kKey);
  ASSERT_EQ(values.size(), 3u);

  const fake::RegistryValue& display = values.at("DisplayName");
  EXPECT_EQ(display.type, kRegSz);
  EXPECT_EQ(display.data.size(), 42u);
  EXPECT_EQ(bytesOf(display), std::string("DALVERA QLX-957 POS Windows Driver 3.1.1E\0", 42));

  const fake::RegistryValue& marker = values.at("DALVERA QLX-957");
  EXPECT_EQ(marker.type, kRegSz);
  EXPECT_EQ(bytesOf(marker), std::string("\0", 1));

  const fake::RegistryValue& command = values.at("UninstallString");
  EXPECT_EQ(command.type, kRegSz);
  EXPECT_EQ(bytesOf(command), std::string("C:\\WINDOWS\\QLX-957\\QLX957_Uninstaller.exe\0", 42));

  EXPECT_THAT(fake.callTexts("RegSetValueExA").size(), 3u);
  EXPECT_EQ(fake.openHandles(), 0);
}

TEST_F(RegisterUninstall, WritesTheValuesInOrderThroughTheReopenedKey) {
  registerUninstall();
  std::vector<std::string> registryCalls;
  for (const fake::Call& call : fake.calls()) {
    if (call.name == "CopyFileA") break;  // the entry is written before the files
    if (call.name.rfind("Reg", 0) == 0) registryCalls.push_back(call.name);
  }
  EXPECT_THAT(registryCalls,
              ElementsAre("RegOpenKeyExA", "RegCreateKeyA", "RegOpenKeyExA", "RegSetValueExA",
                          "RegSetValueExA", "RegSetValueExA", "RegCloseKey", "RegCloseKey"));
  EXPECT_EQ(fake.callTexts("RegOpenKeyExA").at(0),
            std::string("RegOpenKeyExA(HKLM, ") + kKey + ", 0, 131103)");
}

TEST_F(RegisterUninstall, QuotesACommandPathWithABlank) {
  fake.setWindowsDirectory("D:\\My Windows");
  registerUninstall();
  const auto values = fake.registryValues(kKey);
  const fake::RegistryValue& command = values.at("UninstallString");
  const std::string expected = "\"D:\\My Windows\\QLX-957\\QLX957_Uninstaller.exe\"";
  EXPECT_EQ(bytesOf(command), expected + std::string(1, '\0'));
  EXPECT_EQ(command.data.size(), expected.size() + 1);
}

TEST_F(RegisterUninstall, ReplacesAnEarlierEntryWithItsExtraValues) {
  fake.addRegistryKey(kKey,
                      {{"Publisher", {kRegSz, {'x', 0}}}, {"DisplayName", {kRegSz, {'o', 0}}}});
  registerUninstall();
  const auto values = fake.registryValues(kKey);
  EXPECT_EQ(values.count("Publisher"), 0u);
  EXPECT_EQ(values.size(), 3u);
  const auto opens = fake.callNames();
  // Deleted while still open, closed after.
  const auto deleteAt = std::find(opens.begin(), opens.end(), "RegDeleteKeyA");
  ASSERT_NE(deleteAt, opens.end());
  EXPECT_EQ(*(deleteAt + 1), "RegCloseKey");
  EXPECT_EQ(fake.openHandles(), 0);
}

TEST_F(RegisterUninstall, AnUndeletableEarlierKeyGetsItsNamesakesOverwritten) {
  fake.addRegistryKey(kKey,
                      {{"Publisher", {kRegSz, {'x', 0}}}, {"DisplayName", {kRegSz, {'o', 0}}}},
                      /*withSubkey=*/true);
  registerUninstall();
  const auto values = fake.registryValues(kKey);
  EXPECT_EQ(values.size(), 4u);
  EXPECT_EQ(values.at("DisplayName").data.size(), 42u);
  EXPECT_EQ(fake.openHandles(), 0);
}

TEST_F(RegisterUninstall, CopiesTheUninstallerIntoItsFolder) {
  registerUninstall();
  EXPECT_TRUE(fake.directoryExists("C:\\WINDOWS\\QLX-957"));
  EXPECT_THAT(
      fake.filesIn("C:\\WINDOWS\\QLX-957"),
      UnorderedElementsAre("QLX957_Uninstaller.exe", "Uninstall_2k.dll", "Uninstall_98.dll"));
  EXPECT_THAT(
      fake.copiesMade(),
      ElementsAre(
          "CopyFileA(QLX957_Uninstaller.exe, C:\\WINDOWS\\QLX-957\\QLX957_Uninstaller.exe, 0)",
          "CopyFileA(Uninstall_2k.dll, C:\\WINDOWS\\QLX-957\\Uninstall_2k.dll, 0)",
          "CopyFileA(Uninstall_98.dll, C:\\WINDOWS\\QLX-957\\Uninstall_98.dll, 0)"));
}

TEST_F(RegisterUninstall, AnExistingFolderIsUsedAndOlderCopiesOverwritten) {
  fake.addFile("C:\\WINDOWS\\QLX-957\\Uninstall_2k.dll", fake::FakeFile{"old"});
  registerUninstall();
  EXPECT_EQ(fake.file("C:\\WINDOWS\\QLX-957\\Uninstall_2k.dll")->contents, "new Uninstall_2k.dll");
}

TEST(RegisterUninstallWithoutFiles, WritesTheEntryAllTheSameAndShowsEachMissingFile) {
  fake::FakePlatform fake;
  const RunSettings settings;
  Reporter reporter(fake.platform(), settings);
  qlx::registerUninstall(fake.platform(), reporter, false);
  EXPECT_EQ(fake.registryValues(kKey).size(), 3u);
  EXPECT_TRUE(fake.filesIn("C:\\WINDOWS\\QLX-957").empty());
  ASSERT_EQ(fake.messageBoxes().size(), 3u);
  EXPECT_EQ(fake.messageBoxes()[0].text,
            "CopyFile Error Code: 2\n\nThe system cannot find the file specified.\r\n"
            "QLX957_Uninstaller.exe\n-> C:\\WINDOWS\\QLX-957\\QLX957_Uninstaller.exe");
}

TEST_F(RegisterUninstall, AWindowsDirectoryThatDoesNotFitIsNeverUsedAsAPath) {
  fake.setWindowsDirectory("C:\\" + std::string(260, 'W'));
  registerUninstall();
  const auto values = fake.registryValues(kKey);
  EXPECT_EQ(values.count("UninstallString"), 0u);
  EXPECT_EQ(values.size(), 2u);
  EXPECT_TRUE(fake.callTexts("CreateDirectoryA").empty());
  EXPECT_TRUE(fake.copiesMade().empty());  // nothing lands in \QLX-957 at the root
}

TEST_F(RegisterUninstall, AFailedWindowsDirectoryQuerySkipsOnlyThePathSteps) {
  fake.failCall("GetWindowsDirectoryA", 5, 2);  // the folder's query; the value's succeeds
  registerUninstall();
  EXPECT_EQ(fake.registryValues(kKey).size(), 3u);
  EXPECT_TRUE(fake.callTexts("CreateDirectoryA").empty());
  EXPECT_TRUE(fake.copiesMade().empty());
}

// ---- restartComputer

class RestartComputer : public ::testing::Test {
 protected:
  fake::FakePlatform fake;
};

TEST_F(RestartComputer, EnablesTheShutdownPrivilegeThenForcesARestart) {
  EXPECT_TRUE(restartComputer(fake.platform()));
  EXPECT_TRUE(fake.restartRequested());
  EXPECT_THAT(fake.callTexts("LookupPrivilegeValueA"),
              ElementsAre("LookupPrivilegeValueA(null, SeShutdownPrivilege)"));
  EXPECT_THAT(fake.callTexts("ExitWindowsEx"), ElementsAre("ExitWindowsEx(6, 0)"));
  const auto names = fake.callNames();
  const auto adjust = std::find(names.begin(), names.end(), "AdjustTokenPrivileges");
  ASSERT_NE(adjust, names.end());
  EXPECT_EQ(*(adjust + 1), "GetLastError");
  EXPECT_EQ(fake.openHandles(), 0);  // the token is closed too
}

TEST_F(RestartComputer, FalseWhenTheTokenCannotBeOpened) {
  fake.failCall("OpenProcessToken", 5);
  EXPECT_FALSE(restartComputer(fake.platform()));
  EXPECT_FALSE(fake.restartRequested());
  EXPECT_TRUE(fake.callTexts("ExitWindowsEx").empty());
}

TEST_F(RestartComputer, FalseWhenThePrivilegeIsNotHeld) {
  fake.setShutdownPrivilegeHeld(false);
  EXPECT_FALSE(restartComputer(fake.platform()));
  EXPECT_TRUE(fake.callTexts("ExitWindowsEx").empty());
  EXPECT_EQ(fake.openHandles(), 0);
}

TEST_F(RestartComputer, FalseWhenTheRestartIsRefused) {
  fake.setExitWindowsRefused(true);
  EXPECT_FALSE(restartComputer(fake.platform()));
  EXPECT_EQ(fake.openHandles(), 0);
}

}  // namespace
}  // namespace qlx
