#include <gtest/gtest.h>

#include "core/Script.h"

namespace uidriver {
namespace {

ParsedScript parse(std::vector<std::string> arguments) { return parseScript(arguments); }

TEST(Script, DefaultsAnswerEveryDialogWithNextAndRestartWithNo) {
  ParsedScript parsed = parse({"--log", "run.jsonl"});
  ASSERT_EQ(parsed.error, "");
  const Script& script = parsed.script;
  EXPECT_EQ(script.logFile, "run.jsonl");
  EXPECT_EQ(script.os.action, DialogAction::Next);
  EXPECT_EQ(script.port.action, DialogAction::Next);
  EXPECT_FALSE(script.restartYes);
  EXPECT_FALSE(script.watchOnly);
  EXPECT_EQ(script.timeoutMs, 120000u);
  EXPECT_EQ(script.holdMs, 0u);
}

TEST(Script, ReadsEveryOption) {
  ParsedScript parsed =
      parse({"--os",  "escape", "--port", "close",   "--restart",   "yes",       "--watch",
             "--log", "l",      "--dir",  "Z:\\pkg", "--installer", "other.exe", "--timeout",
             "30",    "--hold", "250",    "--gate",  "C:\\go.txt",  "--end-at",  "Copy files..."});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.script.os.action, DialogAction::Escape);
  EXPECT_EQ(parsed.script.port.action, DialogAction::Close);
  EXPECT_TRUE(parsed.script.restartYes);
  EXPECT_TRUE(parsed.script.watchOnly);
  EXPECT_EQ(parsed.script.directory, "Z:\\pkg");
  EXPECT_EQ(parsed.script.installer, "other.exe");
  EXPECT_EQ(parsed.script.timeoutMs, 30000u);
  EXPECT_EQ(parsed.script.holdMs, 250u);
  EXPECT_EQ(parsed.script.gateFile, "C:\\go.txt");
  EXPECT_EQ(parsed.script.endAtStatus, "Copy files...");
}

TEST(Script, ChoicesNameARadioAndOrAnOverwriteItem) {
  struct Case {
    const char* option;
    const char* value;
    int radio;
    int overwrite;
  };
  for (const Case& c : {Case{"--port", "choose:2,3", 2, 3}, Case{"--port", "choose:5", 5, -1},
                        Case{"--port", "choose:,0", -1, 0}, Case{"--os", "choose:0", 0, -1},
                        Case{"--os", "choose:6", 6, -1}}) {
    ParsedScript parsed = parse({"--log", "l", c.option, c.value});
    ASSERT_EQ(parsed.error, "") << c.value;
    const DialogAnswer& answer =
        std::string(c.option) == "--os" ? parsed.script.os : parsed.script.port;
    EXPECT_EQ(answer.action, DialogAction::Choose) << c.value;
    EXPECT_EQ(answer.radio, c.radio) << c.value;
    EXPECT_EQ(answer.overwrite, c.overwrite) << c.value;
  }
}

TEST(Script, RefusesChoicesOutsideTheDialogs) {
  for (auto [option, value] :
       std::vector<std::pair<const char*, const char*>>{{"--os", "choose:8"},
                                                        {"--os", "choose:1,2"},
                                                        {"--os", "choose:-1"},
                                                        {"--port", "choose:6"},
                                                        {"--port", "choose:0,4"},
                                                        {"--port", "choose:"},
                                                        {"--port", "choose:,"},
                                                        {"--port", "choose:1x"},
                                                        {"--os", "click"}}) {
    EXPECT_NE(parse({"--log", "l", option, value}).error, "") << option << " " << value;
  }
}

TEST(Script, RefusesIncompleteOrUnknownCommandLines) {
  EXPECT_EQ(parse({}).error, "--log FILE is required");
  EXPECT_EQ(parse({"--log"}).error, "--log needs a value");
  EXPECT_NE(parse({"--log", "l", "--frobnicate", "1"}).error, "");
  EXPECT_NE(parse({"--log", "l", "stray"}).error, "");
  EXPECT_NE(parse({"--log", "l", "--restart", "maybe"}).error, "");
  EXPECT_NE(parse({"--log", "l", "--timeout", "10s"}).error, "");
  EXPECT_NE(parse({"--log", "l", "--timeout", "0"}).error, "");
  EXPECT_NE(parse({"--log", "l", "--ok"}).error, "");
  EXPECT_NE(parse({"--log", "l", "--end-at", ""}).error, "");
}

TEST(InstallerPath, JoinsRelativeNamesToThePackageDirectory) {
  Script script;
  EXPECT_EQ(installerPath(script, "Z:\\pkg"), "Z:\\pkg\\QLX957_Installer.exe");
  EXPECT_EQ(installerPath(script, "Z:\\pkg\\"), "Z:\\pkg\\QLX957_Installer.exe");
  script.installer = "copy\\setup.exe";
  EXPECT_EQ(installerPath(script, "C:\\p"), "C:\\p\\copy\\setup.exe");
  script.installer = "C:\\other\\QLX957_Installer.exe";
  EXPECT_EQ(installerPath(script, "Z:\\pkg"), "C:\\other\\QLX957_Installer.exe");
  script.installer = "\\\\server\\share\\setup.exe";
  EXPECT_EQ(installerPath(script, "Z:\\pkg"), "\\\\server\\share\\setup.exe");
  EXPECT_FALSE(isAbsolutePath("C:relative"));
}

TEST(Script, ArrangementsAndInstallerArgumentsMayBeRepeated) {
  ParsedScript parsed =
      parse({"--log", "l", "--delete-printer", "P(#1)", "--volatile-key", "HKLM\\A\\B",
             "--volatile-key", "HKLM\\C", "--arg", "/quiet", "--arg", "/log:C:\\q.log"});
  ASSERT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.script.deletePrinters, std::vector<std::string>{"P(#1)"});
  EXPECT_EQ(parsed.script.volatileKeys, (std::vector<std::string>{"HKLM\\A\\B", "HKLM\\C"}));
  EXPECT_EQ(parsed.script.installerArguments,
            (std::vector<std::string>{"/quiet", "/log:C:\\q.log"}));
}

TEST(Script, VolatileKeysLieUnderHklm) {
  EXPECT_NE(parse({"--log", "l", "--volatile-key", "HKCU\\A"}).error, "");
  EXPECT_NE(parse({"--log", "l", "--volatile-key", "HKLM\\"}).error, "");
}

TEST(Script, CommandLineQuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(commandLine("C:\\p\\i.exe", {}), "\"C:\\p\\i.exe\"");
  EXPECT_EQ(commandLine("i.exe", {"/quiet", "/log:C:\\a b\\q.log", "", "say \"hi\"", "end\\"}),
            "\"i.exe\" /quiet \"/log:C:\\a b\\q.log\" \"\" \"say \\\"hi\\\"\" end\\");
  EXPECT_EQ(commandLine("i.exe", {"a b\\"}), "\"i.exe\" \"a b\\\\\"");
}

}  // namespace
}  // namespace uidriver
