#include <gmock/gmock.h>

#include "app/CommandLine.h"

namespace qlx {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

struct SplitCase {
  const char* label;
  const char* line;
  std::vector<std::string> arguments;
};

class Splitting : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Splitting, FollowsTheWindowsRuntimeRules) {
  EXPECT_THAT(splitCommandLine(GetParam().line), ElementsAreArray(GetParam().arguments));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, Splitting,
    ::testing::Values(SplitCase{"ProgramNameOnly", "QLX957_Installer.exe", {}},
                      SplitCase{"TrailingBlanks", "QLX957_Installer.exe  \t ", {}},
                      SplitCase{"Empty", "", {}},
                      SplitCase{"QuotedProgramWithBlanks",
                                "\"C:\\Deploy Share\\QLX957_Installer.exe\" /quiet",
                                {"/quiet"}},
                      // The program name takes no escapes: its backslash before the quote stays.
                      SplitCase{"ProgramNameEndsInBackslash", "\"C:\\dir\\\" /quiet", {"/quiet"}},
                      // The quoted name ends at its quote: an option right after it is read.
                      SplitCase{"OptionRightAfterTheQuotedName",
                                "\"C:\\Deploy Share\\QLX957_Installer.exe\"/quiet /port:COM2",
                                {"/quiet", "/port:COM2"}},
                      SplitCase{"BlanksAndTabsSeparate",
                                "x.exe /quiet\t/port:COM2   /norestart",
                                {"/quiet", "/port:COM2", "/norestart"}},
                      SplitCase{"QuotedValueWithBlanks",
                                "x.exe \"/log:C:\\Support Logs\\q.log\"",
                                {"/log:C:\\Support Logs\\q.log"}},
                      SplitCase{"QuotesInsideTheWord",
                                "x.exe /log:\"C:\\Support Logs\\q.log\" /quiet",
                                {"/log:C:\\Support Logs\\q.log", "/quiet"}},
                      SplitCase{"BackslashesWithoutQuoteAreLiteral",
                                "x.exe /log:\\\\server\\share\\q.log",
                                {"/log:\\\\server\\share\\q.log"}},
                      // 2n backslashes and a quote: n backslashes, the quote groups.
                      SplitCase{"EvenBackslashesBeforeQuote",
                                "x.exe \"/log:C:\\dir\\\\\" /quiet",
                                {"/log:C:\\dir\\", "/quiet"}},
                      // 2n+1 backslashes and a quote: n backslashes and a literal quote.
                      SplitCase{"OddBackslashesBeforeQuote", "x.exe a\\\\\\\"b", {"a\\\"b"}},
                      SplitCase{"EscapedQuoteOutsideQuotes", "x.exe a\\\"b c", {"a\"b", "c"}},
                      SplitCase{"DoubledQuoteInsideQuotes", "x.exe \"a\"\"b\" c", {"a\"b", "c"}},
                      SplitCase{"EmptyQuotedArgument", "x.exe \"\" /quiet", {"", "/quiet"}},
                      SplitCase{
                          "UnclosedQuoteRunsToTheEnd", "x.exe \"/log:C:\\a b", {"/log:C:\\a b"}}),
    [](const auto& info) { return std::string(info.param.label); });

InstallOptions parsedOk(std::vector<std::string> arguments) {
  const ParsedCommandLine parsed = parseArguments(arguments);
  EXPECT_TRUE(parsed.ok()) << parsed.error;
  return parsed.options;
}

TEST(CommandLine, NoArgumentsMeansTheInteractiveDefaults) {
  const ParsedCommandLine parsed = parseCommandLine("\"C:\\x\\QLX957_Installer.exe\"");
  ASSERT_TRUE(parsed.ok());
  EXPECT_EQ(parsed.options.mode, RunMode::Interactive);
  EXPECT_FALSE(parsed.options.portIndex.has_value());
  EXPECT_FALSE(parsed.options.overwrite.has_value());
  EXPECT_EQ(parsed.options.restart, RestartChoice::Ask);
  EXPECT_THAT(parsed.options.logFile, IsEmpty());
  EXPECT_FALSE(parsed.options.usage);
}

struct OptionCase {
  const char* label;
  std::vector<std::string> arguments;
  RunMode mode;
  int portIndex;  // -1: not given
  int overwrite;  // -1: not given
  RestartChoice restart;
  const char* logFile;
};

class EveryOption : public ::testing::TestWithParam<OptionCase> {};

TEST_P(EveryOption, IsReadWhateverItsSpelling) {
  const OptionCase& c = GetParam();
  const InstallOptions options = parsedOk(c.arguments);
  EXPECT_EQ(options.mode, c.mode);
  EXPECT_EQ(options.portIndex.value_or(-1), c.portIndex);
  EXPECT_EQ(options.overwrite.value_or(-1), c.overwrite);
  EXPECT_EQ(options.restart, c.restart);
  EXPECT_EQ(options.logFile, c.logFile);
}

constexpr auto kAsk = RestartChoice::Ask;
constexpr auto kInteractive = RunMode::Interactive;

INSTANTIATE_TEST_SUITE_P(
    Spellings, EveryOption,
    ::testing::Values(
        OptionCase{"Quiet", {"/quiet"}, RunMode::Quiet, -1, -1, kAsk, ""},
        OptionCase{"QuietDashUpper", {"-QUIET"}, RunMode::Quiet, -1, -1, kAsk, ""},
        OptionCase{"Passive", {"/Passive"}, RunMode::Passive, -1, -1, kAsk, ""},
        OptionCase{"PortsInOrder0", {"/port:COM1"}, kInteractive, 0, -1, kAsk, ""},
        OptionCase{"PortsInOrder1", {"-port=com2"}, kInteractive, 1, -1, kAsk, ""},
        OptionCase{"PortsInOrder2", {"/PORT:Com3"}, kInteractive, 2, -1, kAsk, ""},
        OptionCase{"PortsInOrder3", {"/port=COM4"}, kInteractive, 3, -1, kAsk, ""},
        OptionCase{"PortsInOrder4", {"/port:lpt1"}, kInteractive, 4, -1, kAsk, ""},
        OptionCase{"PortsInOrder5", {"/port:LPT2"}, kInteractive, 5, -1, kAsk, ""},
        OptionCase{"PortAsTheSpoolerSpellsIt", {"/port:COM2:"}, kInteractive, 1, -1, kAsk, ""},
        OptionCase{"PolicyVersion", {"/overwrite:version"}, kInteractive, -1, 0, kAsk, ""},
        OptionCase{"PolicyDate", {"-Overwrite=DATE"}, kInteractive, -1, 1, kAsk, ""},
        OptionCase{"PolicyAlways", {"/overwrite:always"}, kInteractive, -1, 2, kAsk, ""},
        OptionCase{"PolicyNever", {"/overwrite:Never"}, kInteractive, -1, 3, kAsk, ""},
        OptionCase{"NoRestart", {"/norestart"}, kInteractive, -1, -1, RestartChoice::Never, ""},
        OptionCase{
            "ForceRestart", {"-ForceRestart"}, kInteractive, -1, -1, RestartChoice::Force, ""},
        // Only the first separator splits: the drive's colon stays in the value.
        OptionCase{"LogWithDrive", {"/log:C:\\q.log"}, kInteractive, -1, -1, kAsk, "C:\\q.log"},
        OptionCase{
            "LogWithEquals", {"-LOG=C:\\a=b.log"}, kInteractive, -1, -1, kAsk, "C:\\a=b.log"},
        OptionCase{"Everything",
                   {"/passive", "/port:COM2", "/overwrite:date", "/forcerestart", "/log:x.log"},
                   RunMode::Passive,
                   1,
                   1,
                   RestartChoice::Force,
                   "x.log"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(CommandLine, RemovalRepeatableRunsAndAnyPortUnattended) {
  const InstallOptions removal = parsedOk({"/uninstall", "/quiet", "/norestart", "/log:r.log"});
  EXPECT_TRUE(removal.uninstall);
  EXPECT_EQ(removal.restart, RestartChoice::Never);
  EXPECT_TRUE(parsedOk({"-Uninstall"}).uninstall);  // attended: it asks first
  const InstallOptions once = parsedOk({"/once", "/passive", "/port:LPT2"});
  EXPECT_TRUE(once.once);
  EXPECT_EQ(once.portIndex.value_or(-1), 5);
  for (const char* port : {"USB001", "COM5", "FILE:", "IP_10.1.2.3"}) {
    const InstallOptions options = parsedOk({"/quiet", std::string("/port:") + port});
    EXPECT_EQ(options.otherPort, port);
    EXPECT_FALSE(options.portIndex.has_value());
  }
}

TEST(CommandLine, QuestionMarkAsksForTheUsage) {
  EXPECT_TRUE(parsedOk({"/?"}).usage);
  EXPECT_TRUE(parsedOk({"-?"}).usage);
}

struct BadCase {
  const char* label;
  std::vector<std::string> arguments;
  const char* reason;  // part of the message
};

class BadCommandLine : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadCommandLine, IsRefusedWithItsReason) {
  const ParsedCommandLine parsed = parseArguments(GetParam().arguments);
  EXPECT_FALSE(parsed.ok());
  EXPECT_THAT(parsed.error, HasSubstr(GetParam().reason));
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, BadCommandLine,
    ::testing::Values(
        BadCase{"UnknownOption", {"/silent"}, "\"/silent\" is not a known option"},
        BadCase{"NoPrefix", {"quiet"}, "\"quiet\" is not an option"},
        BadCase{"EmptyArgument", {""}, "\"\" is not an option"},
        BadCase{"BarePrefix", {"/"}, "\"/\" is not a known option"},
        BadCase{"OtherPortAttended", {"/port:COM5"}, "\"/port:COM5\": the port dialog offers"},
        BadCase{"UsbPortAttended", {"/port:USB001", "/norestart"}, "/quiet or /passive"},
        BadCase{"UninstallWithPort", {"/uninstall", "/port:COM1"}, "/uninstall takes no"},
        BadCase{"UninstallWithPolicy", {"/overwrite:date", "/uninstall"}, "/uninstall takes no"},
        BadCase{"UninstallOnce", {"/uninstall", "/once", "/quiet"}, "/uninstall takes no"},
        BadCase{"UninstallWithValue", {"/uninstall:all"}, "takes no value"},
        BadCase{"OnceTwice", {"/once", "/ONCE"}, "more than once"},
        BadCase{"PortWithoutValue", {"/port"}, "needs a value"},
        BadCase{"PortEmptyValue", {"/port:"}, "needs a value"},
        BadCase{"UnknownPolicy", {"/overwrite:newer"}, "the policy is one of"},
        BadCase{"PolicyByNumber", {"/overwrite:0"}, "the policy is one of"},
        BadCase{"LogWithoutFile", {"/log"}, "needs a value"},
        BadCase{"LogEmptyFile", {"/log="}, "needs a value"},
        BadCase{"QuietWithValue", {"/quiet:yes"}, "takes no value"},
        BadCase{"QuestionWithValue", {"/?:x"}, "takes no value"},
        BadCase{"QuietAndPassive", {"/quiet", "/passive"}, "cannot be used together"},
        BadCase{"PassiveAndQuiet", {"-passive", "-QUIET"}, "cannot be used together"},
        BadCase{"BothRestarts", {"/norestart", "/forcerestart"}, "cannot be used together"},
        BadCase{"PortTwice", {"/port:COM1", "/port:COM1"}, "more than once"},
        BadCase{"LogTwice", {"/log:a", "/log:b"}, "more than once"},
        BadCase{"QuietTwice", {"/quiet", "-quiet"}, "more than once"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(CommandLine, AfterAnErrorTheRestIsStillReadForTheLog) {
  const ParsedCommandLine parsed = parseArguments({"/quiet", "/overwrite:newer", "/log:C:\\q.log"});
  EXPECT_FALSE(parsed.ok());
  EXPECT_EQ(parsed.options.mode, RunMode::Quiet);
  EXPECT_EQ(parsed.options.logFile, "C:\\q.log");
}

TEST(CommandLine, TheFirstProblemIsTheOneReported) {
  const ParsedCommandLine parsed = parseArguments({"/bogus", "/port:COM9"});
  EXPECT_THAT(parsed.error, HasSubstr("/bogus"));
}

TEST(CommandLine, WholeLineWithQuotedLogPath) {
  const ParsedCommandLine parsed = parseCommandLine(
      "\"C:\\Deploy\\QLX957_Installer.exe\" -Quiet /PORT=lpt2 \"/log:C:\\Support Logs\\q.log\"");
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  EXPECT_EQ(parsed.options.mode, RunMode::Quiet);
  EXPECT_EQ(parsed.options.portIndex.value_or(-1), 5);
  EXPECT_EQ(parsed.options.logFile, "C:\\Support Logs\\q.log");
}

}  // namespace
}  // namespace qlx
