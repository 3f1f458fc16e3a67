#include <gmock/gmock.h>

#include "engine/InstallLog.h"
#include "fake/FakePlatform.h"

namespace qlx {
namespace {

constexpr char kLogPath[] = "C:\\SETUP\\install.log";

class Log : public ::testing::Test {
 protected:
  std::string contents() const {
    const fake::FakeFile* file = fake.file(kLogPath);
    return file == nullptr ? "<missing>" : file->contents;
  }
  fake::FakePlatform fake;
  InstallLog log{fake};
};

TEST_F(Log, AppendsCrlfLinesBehindAnEarlierRun) {
  fake.addFile(kLogPath, fake::FakeFile{"earlier run\r\n"});
  ASSERT_EQ(log.open(kLogPath), kErrorSuccess);
  log.write("first");
  log.write("second");
  EXPECT_EQ(contents(), "earlier run\r\nfirst\r\nsecond\r\n");
}

TEST_F(Log, CreatesAMissingFileAndWritesEachLineAtOnce) {
  ASSERT_EQ(log.open(kLogPath), kErrorSuccess);
  log.write("one");
  EXPECT_EQ(contents(), "one\r\n");  // before the log is closed
  log.write("two");
  log.close();
  EXPECT_EQ(contents(), "one\r\ntwo\r\n");
  EXPECT_EQ(fake.openHandles(), 0);
}

TEST_F(Log, ALineStaysOneLine) {
  ASSERT_EQ(log.open(kLogPath), kErrorSuccess);
  log.write("AddPrinter Error Code: 87\n\nThe parameter is incorrect.\r\n");
  EXPECT_EQ(contents(), "AddPrinter Error Code: 87  The parameter is incorrect.  \r\n");
}

TEST_F(Log, AFailedWriteIsLostAndTheRunGoesOn) {
  ASSERT_EQ(log.open(kLogPath), kErrorSuccess);
  fake.failCall("WriteFile", 112 /* disk full */);
  log.write("lost");
  log.write("kept");
  EXPECT_EQ(contents(), "kept\r\n");
}

struct OpenCase {
  const char* label;
  const char* path;
  Dword expected;
};

class LogOpen : public Log, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(LogOpen, ReportsTheSystemCodeWhenTheFileCannotBeOpened) {
  fake.addDirectory("C:\\SETUP\\logs.dir");
  fake::FakeFile busy{"held by another program"};
  busy.openForWriting = true;
  fake.addFile("C:\\SETUP\\busy.log", busy);
  EXPECT_EQ(log.open(GetParam().path), GetParam().expected);
  EXPECT_FALSE(log.isOpen());
  log.write("goes nowhere");  // harmless
  EXPECT_EQ(fake.openHandles(), 0);
}

INSTANTIATE_TEST_SUITE_P(Failures, LogOpen,
                         ::testing::Values(OpenCase{"MissingFolder", "C:\\NOWHERE\\q.log", 3},
                                           OpenCase{"ADirectory", "C:\\SETUP\\logs.dir", 5},
                                           OpenCase{"HeldForWriting", "C:\\SETUP\\busy.log", 32}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(Log, FailureLineCarriesTheCodeAndTheSystemsText) {
  ASSERT_EQ(log.open(kLogPath), kErrorSuccess);
  log.writeFailure("Copy a -> b", 2);
  fake.setSystemMessage(1021, std::nullopt);
  log.writeFailure("AddPrinterDriverA(\"x\")", 1021);
  EXPECT_EQ(contents(),
            "Copy a -> b: failed, error 2: The system cannot find the file specified.\r\n"
            "AddPrinterDriverA(\"x\"): failed, error 1021\r\n");
  EXPECT_EQ(fake.liveAllocations(), 0);
}

struct TimeCase {
  std::uint64_t ticks;
  const char* text;
};

class FileTimes : public ::testing::TestWithParam<TimeCase> {};

TEST_P(FileTimes, ReadAsUtcCalendarTime) {
  EXPECT_EQ(formatFileTime(GetParam().ticks), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Calendar, FileTimes,
    ::testing::Values(TimeCase{0, "1601-01-01 00:00:00 UTC"},
                      TimeCase{116444736000000000ull, "1970-01-01 00:00:00 UTC"},
                      TimeCase{125911584000000000ull, "2000-01-01 00:00:00 UTC"},
                      TimeCase{133536836960000000ull, "2024-02-29 12:34:56 UTC"},
                      TimeCase{133536836969999999ull, "2024-02-29 12:34:56 UTC"}));

TEST(LocalTime, PaddedDateAndTime) {
  EXPECT_EQ(formatDateTime(SystemTime{2027, 1, 5, 2, 3, 4, 5, 600}), "2027-01-02 03:04:05");
}

}  // namespace
}  // namespace qlx
