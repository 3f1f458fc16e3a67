#include <gmock/gmock.h>

#include "engine/FileComparison.h"
#include "fake/FakePlatform.h"

namespace qlx {
namespace {

VsFixedFileInfo versionOf(Dword ms, Dword ls = 0) {
  VsFixedFileInfo info{};
  info.dwSignature = kVsFixedFileInfoSignature;
  info.dwFileVersionMS = ms;
  info.dwFileVersionLS = ls;
  return info;
}

constexpr std::uint64_t kMinute = 60ull * 10'000'000ull;  // FILETIME units
constexpr std::uint64_t kNoon = 0x01D0'0000'0000'0000ull;

class FileComparison : public ::testing::Test {
 protected:
  void add(const std::string& path, std::optional<VsFixedFileInfo> version,
           std::uint64_t lastWrite = kNoon, bool openForWriting = false) {
    fake::FakeFile file{"bytes of " + path};
    file.version = version;
    file.lastWrite = lastWrite;
    file.openForWriting = openForWriting;
    fake.addFile(path, file);
  }
  void TearDown() override {
    EXPECT_EQ(fake.openHandles(), 0);
    EXPECT_EQ(fake.liveAllocations(), 0);
  }
  fake::FakePlatform fake;
};

TEST_F(FileComparison, VersionComparesMajorAndMinorNumerically) {
  struct Case {
    const char* label;
    std::optional<VsFixedFileInfo> installed, source;
    int expected;
  };
  const Case cases[] = {
      {"2.9 -> 2.10", versionOf(0x0002'0009), versionOf(0x0002'000A), 1},
      {"2.10 -> 2.9", versionOf(0x0002'000A), versionOf(0x0002'0009), 0},
      {"1.2.0.4 -> 1.2.0.5", versionOf(0x0001'0002, 4), versionOf(0x0001'0002, 5), 0},
      {"1.9 -> 2.0", versionOf(0x0001'0009), versionOf(0x0002'0000), 1},
      {"equal", versionOf(0x0003'0001, 7), versionOf(0x0003'0001, 7), 0},
      {"no resource -> 1.0", std::nullopt, versionOf(0x0001'0000), 1},
      {"neither has one", std::nullopt, std::nullopt, 0},
      {"1.0 -> no resource", versionOf(0x0001'0000), std::nullopt, 0},
  };
  for (const Case& c : cases) {
    add("C:\\A\\installed.dll", c.installed);
    add("C:\\A\\source.dll", c.source);
    EXPECT_EQ(isNewerByVersion(fake.platform(), "C:\\A\\installed.dll", "C:\\A\\source.dll"),
              c.expected)
        << c.label;
  }
}

TEST_F(FileComparison, VersionOfAMissingInstalledFileIsZero) {
  add("C:\\A\\source.dll", versionOf(0x0001'0000));
  EXPECT_EQ(isNewerByVersion(fake.platform(), "C:\\A\\missing.dll", "C:\\A\\source.dll"), 1);
  EXPECT_EQ(isNewerByVersion(fake.platform(), "C:\\A\\source.dll", "C:\\A\\source.dll"), 0);
}

TEST_F(FileComparison, VersionReadsTheInstalledFileFirst) {
  add("C:\\A\\installed.dll", versionOf(1));
  add("C:\\A\\source.dll", versionOf(2));
  isNewerByVersion(fake.platform(), "C:\\A\\installed.dll", "C:\\A\\source.dll");
  const auto sizes = fake.callTexts("GetFileVersionInfoSizeA");
  ASSERT_EQ(sizes.size(), 2u);
  EXPECT_NE(sizes[0].find("installed.dll"), std::string::npos);
  EXPECT_THAT(fake.callTexts("GlobalAlloc"),
              ::testing::Each(::testing::StartsWith("GlobalAlloc(66, ")));
}

TEST_F(FileComparison, DateComparesTheWholeLastWriteTime) {
  struct Case {
    const char* label;
    std::uint64_t installed, source;
    int expected;
  };
  const Case cases[] = {
      {"three minutes later", kNoon, kNoon + 3 * kMinute, 1},
      {"one tick later", kNoon, kNoon + 1, 1},
      {"earlier", kNoon, kNoon - 3 * kMinute, 0},
      {"same time", kNoon, kNoon, 0},
      {"across the upper word", 0x0000'0001'FFFF'FFFFull, 0x0000'0002'0000'0000ull, 1},
      {"higher low word, lower high word", 0x0000'0002'0000'0000ull, 0x0000'0001'FFFF'FFFFull, 0},
  };
  for (const Case& c : cases) {
    add("C:\\A\\installed.dll", std::nullopt, c.installed);
    add("C:\\A\\source.dll", std::nullopt, c.source);
    EXPECT_EQ(isNewerByDate(fake.platform(), "C:\\A\\installed.dll", "C:\\A\\source.dll"),
              c.expected)
        << c.label;
  }
}

TEST_F(FileComparison, DateFailuresGiveZero) {
  add("C:\\A\\source.dll", std::nullopt, kNoon + kMinute);
  add("C:\\A\\locked.dll", std::nullopt, kNoon, /*openForWriting=*/true);
  EXPECT_EQ(isNewerByDate(fake.platform(), "C:\\A\\missing.dll", "C:\\A\\source.dll"), 0);
  EXPECT_EQ(isNewerByDate(fake.platform(), "C:\\A\\locked.dll", "C:\\A\\source.dll"), 0);
  add("C:\\A\\installed.dll", std::nullopt, kNoon);
  EXPECT_EQ(isNewerByDate(fake.platform(), "C:\\A\\installed.dll", "C:\\A\\missing.dll"), 0);
  EXPECT_EQ(isNewerByDate(fake.platform(), "C:\\A\\source.dll", "C:\\A\\source.dll"), 0);
  fake.clearCalls();
  fake.failCall("GetFileTime", 5);
  EXPECT_EQ(isNewerByDate(fake.platform(), "C:\\A\\installed.dll", "C:\\A\\source.dll"), 0);
}

TEST_F(FileComparison, DateOpensOneFileAtATimeForSharedReading) {
  add("C:\\A\\installed.dll", std::nullopt, kNoon);
  add("C:\\A\\source.dll", std::nullopt, kNoon + kMinute);
  isNewerByDate(fake.platform(), "C:\\A\\installed.dll", "C:\\A\\source.dll");
  std::vector<std::string> sequence;
  for (const fake::Call& call : fake.calls()) sequence.push_back(call.name);
  EXPECT_THAT(sequence, ::testing::ElementsAre("CreateFileA", "GetFileTime", "CloseHandle",
                                               "CreateFileA", "GetFileTime", "CloseHandle"));
  EXPECT_THAT(fake.callTexts("CreateFileA")[0],
              ::testing::StartsWith("CreateFileA(C:\\A\\installed.dll, 2147483648, 1, 3, 128"));
}

TEST_F(FileComparison, GetFileVersionWritesOnlyTheSlotsAsked) {
  add("C:\\A\\file.dll", versionOf(0x0002'0003, 0x0004'0005));
  struct Case {
    int count;
    std::array<Dword, 6> expected;
  };
  constexpr Dword u = 0xDEAD;  // untouched
  const Case cases[] = {
      {0, {u, u, u, u, u, u}}, {-1, {u, u, u, u, u, u}}, {1, {2, u, u, u, u, u}},
      {2, {2, 3, u, u, u, u}}, {4, {2, 3, 4, 5, u, u}},  {6, {2, 3, 4, 5, u, u}},
  };
  for (const Case& c : cases) {
    std::array<Dword, 6> slots;
    slots.fill(u);
    EXPECT_EQ(getFileVersion(fake.platform(), "C:\\A\\file.dll", slots.data(), c.count),
              0x0002'0003u);
    EXPECT_EQ(slots, c.expected) << "count " << c.count;
  }
  EXPECT_EQ(getFileVersion(fake.platform(), "C:\\A\\file.dll", nullptr, 4), 0x0002'0003u);
}

TEST_F(FileComparison, GetFileVersionFailuresGiveZeroAndWriteNothing) {
  add("C:\\A\\file.dll", versionOf(0x0002'0003, 0x0004'0005));
  add("C:\\A\\plain.txt", std::nullopt);
  for (const char* failing :
       {"GlobalAlloc", "GlobalLock", "GetFileVersionInfoA", "VerQueryValueA", "GlobalHandle"}) {
    fake.failCall(failing, 8);
    std::array<Dword, 4> slots{7, 7, 7, 7};
    const Dword version = getFileVersion(fake.platform(), "C:\\A\\file.dll", slots.data(), 4);
    if (std::string(failing) == "GlobalHandle") {
      EXPECT_EQ(version, 0x0002'0003u);  // the block is still released through its own handle
    } else {
      EXPECT_EQ(version, 0u) << failing;
      EXPECT_EQ(slots, (std::array<Dword, 4>{7, 7, 7, 7})) << failing;
    }
    EXPECT_EQ(fake.liveAllocations(), 0) << failing;
  }
  std::array<Dword, 4> slots{7, 7, 7, 7};
  EXPECT_EQ(getFileVersion(fake.platform(), "C:\\A\\plain.txt", slots.data(), 4), 0u);
  EXPECT_EQ(getFileVersion(fake.platform(), "C:\\A\\missing.dll", slots.data(), 4), 0u);
  EXPECT_EQ(slots, (std::array<Dword, 4>{7, 7, 7, 7}));
}

}  // namespace
}  // namespace qlx

namespace qlx {
namespace {

// The update's rule: all four numbers where both copies carry a version,
// else the whole last-write time; without both copies nothing is newer.
TEST(PackageIsNewer, ByVersionWhereBothHaveOneElseByDate) {
  const auto stamp = [](std::optional<std::uint64_t> version, std::optional<std::uint64_t> time) {
    return FileStamp{true, version, time};
  };
  constexpr std::uint64_t v3110 = 0x0003'0001'0001'0000ull, v3111 = 0x0003'0001'0001'0001ull;
  struct Case {
    const char* label;
    FileStamp installed, package;
    bool newer;
  };
  const Case cases[] = {
      {"higher revision", stamp(v3110, kNoon), stamp(v3111, kNoon), true},
      {"lower version, later date", stamp(v3111, kNoon), stamp(v3110, kNoon + kMinute), false},
      {"equal versions, later date", stamp(v3110, kNoon), stamp(v3110, kNoon + kMinute), false},
      {"no version installed, later date", stamp({}, kNoon), stamp(v3110, kNoon + 1), true},
      {"no version in the package, earlier date", stamp(v3111, kNoon), stamp({}, kNoon - 1), false},
      {"neither has one, same date", stamp({}, kNoon), stamp({}, kNoon), false},
      {"not installed", FileStamp{}, stamp(v3111, kNoon), false},
      {"missing from the package", stamp(v3110, kNoon), FileStamp{}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(packageIsNewer(c.installed, c.package), c.newer) << c.label;
}

}  // namespace
}  // namespace qlx
