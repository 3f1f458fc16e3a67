// Where the package runs QLX957_Installer.exe from, with which command line,
// and where its log and the restart note go; the custom actions' text
// handling, which has no heap and must never write past a buffer.

#include <gmock/gmock.h>

#include <string>

#include "msi/core/FormattedText.h"
#include "msi/core/InstallerRun.h"
#include "msi/core/LogLines.h"

namespace qlx::msi {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kDir[] = "C:\\Program Files\\DALVERA QLX-957\\";
constexpr char kTemp[] = "C:\\WINDOWS\\TEMP\\";

struct RunRow {
  const char* what;
  Stage stage;
  PackageProperties properties;
  const char* log;
  const char* commandLine;
};

const RunRow kRuns[] = {
    {"install, logged by msiexec",
     Stage::Install,
     {kDir, "C:\\logs\\till 12.log", kTemp},
     "C:\\logs\\QLX957_Installer.log",
     "\"C:\\Program Files\\DALVERA QLX-957\\QLX957_Installer.exe\" /quiet /norestart "
     "\"/log:C:\\logs\\QLX957_Installer.log\""},
    {"removal without an msiexec log",
     Stage::Removal,
     {kDir, "", kTemp},
     "C:\\WINDOWS\\TEMP\\QLX957_Installer.log",
     "\"C:\\Program Files\\DALVERA QLX-957\\QLX957_Installer.exe\" /uninstall /quiet "
     "\"/log:C:\\WINDOWS\\TEMP\\QLX957_Installer.log\""},
    {"folders without their closing backslash",
     Stage::Install,
     {"C:\\Pkg", "", "C:\\Temp"},
     "C:\\Temp\\QLX957_Installer.log",
     "\"C:\\Pkg\\QLX957_Installer.exe\" /quiet /norestart \"/log:C:\\Temp\\QLX957_Installer.log\""},
};

TEST(InstallerRun, ProgramLogAndCommandLine) {
  for (const RunRow& row : kRuns) {
    InstallerRun run;
    ASSERT_TRUE(describeRun(row.stage, row.properties, run)) << row.what;
    EXPECT_EQ(run.log.view(), row.log) << row.what;
    EXPECT_EQ(run.restartMarker.view(), std::string(row.log) + ".restart") << row.what;
    EXPECT_EQ(run.commandLine.view(), row.commandLine) << row.what;
  }
}

TEST(InstallerRun, ADescriptionReusedForAnotherRunHoldsNothingOfTheFirst) {
  InstallerRun run;
  ASSERT_TRUE(describeRun(Stage::Install, {kDir, "", kTemp}, run));
  ASSERT_TRUE(describeRun(Stage::Removal, {"D:\\", "", kTemp}, run));
  EXPECT_EQ(run.program.view(), "D:\\QLX957_Installer.exe");
}

TEST(InstallerRun, RefusesWhatItCannotDescribeWhole) {
  const std::string longDir = "C:\\" + std::string(kPathCapacity, 'x') + "\\";
  const std::string nearlyFull = "C:\\" + std::string(kPathCapacity - 30, 'x') + "\\";
  const PackageProperties refused[] = {
      {"", "", kTemp},         // no folder to run from
      {kDir, "", ""},          // nowhere for the log
      {kDir, "till.log", ""},  // an msiexec log without a folder, and no temp folder
      {longDir, "", kTemp},    // the program's path does not fit
      {kDir, "", longDir},     // the log's path does not fit
      {kDir, "", nearlyFull},  // the log fits, its restart note does not
  };
  for (const PackageProperties& properties : refused) {
    InstallerRun run;
    EXPECT_FALSE(describeRun(Stage::Install, properties, run))
        << properties.installDir.size() << " " << properties.tempFolder.size();
  }
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
