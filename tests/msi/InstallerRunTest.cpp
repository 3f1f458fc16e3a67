// Where the package runs QLX957_Installer.exe from, with which command line,
// and where its log and the restart note go; the custom actions' text
// handling, which has no heap and must never write past a buffer.

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "msi/core/FormattedText.h"
#include "msi/core/InstallerRun.h"
#include "msi/core/LogLines.h"

namespace qlx::msi {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kDir[] = "C:\\Program Files\\DALVERA QLX-957\\";
constexpr char kTemp[] = "C:\\WINDOWS\\TEMP\\";
constexpr char kProgram[] = "\"C:\\Program Files\\DALVERA QLX-957\\QLX957_Installer.exe\"";

struct RunRow {
  const char* what;
  Stage stage;
  const char* installDir;
  const char* log;
  std::string commandLine;
};

const RunRow kRuns[] = {
    {"install", Stage::Install, kDir, "C:\\logs\\QLX957_Installer.log",
     std::string(kProgram) + " /quiet /norestart /once \"/log:C:\\logs\\QLX957_Installer.log\""},
    {"removal", Stage::Removal, kDir, "C:\\WINDOWS\\TEMP\\QLX957_Installer.log",
     std::string(kProgram) + " /uninstall /quiet \"/log:C:\\WINDOWS\\TEMP\\QLX957_Installer.log\""},
    // No folder could take the log: the program runs all the same.
    {"install without a log", Stage::Install, kDir, "",
     std::string(kProgram) + " /quiet /norestart /once"},
    {"removal without a log", Stage::Removal, kDir, "",
     std::string(kProgram) + " /uninstall /quiet"},
    {"a folder without its closing backslash", Stage::Install, "C:\\Pkg", "C:\\Temp\\x.log",
     "\"C:\\Pkg\\QLX957_Installer.exe\" /quiet /norestart /once \"/log:C:\\Temp\\x.log\""},
};

TEST(InstallerRun, ProgramAndCommandLine) {
  for (const RunRow& row : kRuns) {
    InstallerRun run;
    ASSERT_TRUE(describeRun(row.stage, row.installDir, row.log, run)) << row.what;
    EXPECT_EQ(run.commandLine.view(), row.commandLine) << row.what;
  }
}

TEST(InstallerRun, ADescriptionReusedForAnotherRunHoldsNothingOfTheFirst) {
  InstallerRun run;
  ASSERT_TRUE(describeRun(Stage::Install, kDir, "C:\\logs\\QLX957_Installer.log", run));
  ASSERT_TRUE(describeRun(Stage::Removal, "D:\\", "", run));
  EXPECT_EQ(run.program.view(), "D:\\QLX957_Installer.exe");
  EXPECT_EQ(run.commandLine.view(), "\"D:\\QLX957_Installer.exe\" /uninstall /quiet");
}

TEST(InstallerRun, RefusesWhatItCannotDescribeWhole) {
  const std::string longDir = "C:\\" + std::string(kPathCapacity, 'x') + "\\";
  const std::string longLog = "C:\\" + std::string(kCommandCapacity, 'x') + ".log";
  const struct {
    const char* what;
    std::string installDir;
    std::string log;
  } refused[] = {
      {"no folder to run from", "", ""},
      {"the program's path does not fit", longDir, ""},
      {"the command line does not fit", kDir, longLog},
  };
  for (const auto& row : refused) {
    InstallerRun run;
    EXPECT_FALSE(describeRun(Stage::Install, row.installDir, row.log, run)) << row.what;
  }
}

// The log and the restart note go beside the Windows Installer log where
// there is one, else (or where the local system account cannot write that
// folder) in the temp folder.
struct FoldersRow {
  const char* what;
  PackageProperties properties;
  std::vector<std::string> folders;
};

const FoldersRow kFolders[] = {
    {"logged by msiexec", {kDir, "C:\\logs\\till 12.log", kTemp}, {"C:\\logs\\", kTemp}},
    {"no msiexec log", {kDir, "", kTemp}, {kTemp}},
    {"an msiexec log without a folder", {kDir, "till.log", kTemp}, {kTemp}},
    {"the msiexec log in the temp folder", {kDir, "C:\\WINDOWS\\TEMP\\msi.log", kTemp}, {kTemp}},
    {"no temp folder", {kDir, "C:\\logs\\till.log", ""}, {"C:\\logs\\"}},
    {"neither", {kDir, "", ""}, {}},
};

TEST(InstallerRun, OutputFoldersTheFirstChoiceFirst) {
  for (const FoldersRow& row : kFolders) {
    const OutputFolders found = outputFolders(row.properties);
    std::vector<std::string> folders(found.folders, found.folders + found.count);
    EXPECT_EQ(folders, row.folders) << row.what;
  }
}

TEST(InstallerRun, PathInAFolder) {
  PathText path;
  EXPECT_TRUE(pathIn("C:\\Temp", kLogName, path));
  EXPECT_EQ(path.view(), "C:\\Temp\\QLX957_Installer.log");
  EXPECT_TRUE(pathIn(kTemp, kRestartNoteName, path));
  EXPECT_EQ(path.view(), "C:\\WINDOWS\\TEMP\\QLX957_Installer.restart");
  EXPECT_FALSE(pathIn("", kLogName, path));
  EXPECT_FALSE(pathIn("C:\\" + std::string(kPathCapacity - 20, 'x'), kReplacingNoteName, path));
}

struct DataRow {
  const char* data;
  bool ok;
  PackageProperties properties;
};

const DataRow kData[] = {
    {"C:\\P\\|C:\\l\\m.log|C:\\T\\", true, {"C:\\P\\", "C:\\l\\m.log", "C:\\T\\"}},
    {"C:\\P\\||C:\\T\\", true, {"C:\\P\\", "", "C:\\T\\"}},
    {"C:\\P\\|C:\\T\\", false, {}},
    {"C:\\P\\|a|b|c", false, {}},
    {"|a|b", false, {}},
    {"", false, {}},
};

TEST(InstallerRun, TheDeferredActionsDataSplitsIntoItsThreeProperties) {
  for (const DataRow& row : kData) {
    PackageProperties properties;
    EXPECT_EQ(splitActionData(row.data, properties), row.ok) << row.data;
    if (!row.ok) continue;
    EXPECT_EQ(properties.installDir, row.properties.installDir) << row.data;
    EXPECT_EQ(properties.msiLog, row.properties.msiLog) << row.data;
    EXPECT_EQ(properties.tempFolder, row.properties.tempFolder) << row.data;
  }
}

TEST(BoundedText, RefusesWholeWhatDoesNotFitAndStaysTerminated) {
  BoundedText<8> text;
  EXPECT_TRUE(text.append("abc"));
  EXPECT_FALSE(text.append("defgh"));  // 3 + 5 leaves no room for the NUL
  EXPECT_EQ(text.view(), "abc");
  EXPECT_FALSE(text.complete());
  EXPECT_TRUE(text.append("defg"));
  EXPECT_STREQ(text.c_str(), "abcdefg");
  text.clear();
  EXPECT_FALSE(text.appendNumber(4294967295u));
  EXPECT_EQ(text.view(), "");
  BoundedText<16> number;
  number.appendNumber(0);
  number.appendNumber(3010);
  number.appendNumber(4294967295u);
  EXPECT_EQ(number.view(), "030104294967295");
}

TEST(FormattedText, LogLinesReachTheInstallerLogAsTheyAre) {
  const struct {
    const char* line;
    const char* literal;
  } rows[] = {
      {"Status: Add printer... [22%]", "Status: Add printer... [\\[]22%[\\]]"},
      {"{[ProductCode]}", "[\\{][\\[]ProductCode[\\]][\\}]"},
      {"C:\\logs\\till.log", "C:\\logs\\till.log"},
      {"", ""},
  };
  for (const auto& row : rows) {
    BoundedText<64> text;
    EXPECT_TRUE(appendLiteral(text, row.line)) << row.line;
    EXPECT_EQ(text.view(), row.literal);
  }
  BoundedText<6> small;
  EXPECT_FALSE(appendLiteral(small, "ab[cd"));  // "ab" fits, the escaped bracket does not
  EXPECT_EQ(small.view(), "ab");
}

std::vector<std::string> linesOf(std::string_view text) {
  std::vector<std::string> lines;
  forEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

TEST(LogLines, EachNonEmptyLineWithoutItsEnding) {
  EXPECT_THAT(linesOf("==== QLX957_Installer 1.0.2.1 ====\r\nexit code 3010\r\n"),
              ElementsAre("==== QLX957_Installer 1.0.2.1 ====", "exit code 3010"));
  EXPECT_THAT(linesOf("a\n\r\n\nb"), ElementsAre("a", "b"));
  EXPECT_THAT(linesOf("cut in the mid"), ElementsAre("cut in the mid"));
  EXPECT_THAT(linesOf(""), IsEmpty());
  EXPECT_THAT(linesOf("\r\n\r\n"), IsEmpty());
}

}  // namespace
}  // namespace qlx::msi
