// The user's overwrite policy for the shared universal driver on Windows 9x.

#include <gmock/gmock.h>

#include "support/InstallerFixture.h"

namespace qlx::testing_support {
namespace {

enum class Installed { Absent, Older, Newer, SameMinorOtherBuild, WithoutVersion };

struct PolicyCase {
  OverwriteMode mode;
  Installed installed;
  bool libraryReplaced;
  bool helpReplaced;
};

constexpr std::uint64_t kPackageTime = 0x01D5'0000'0000'0000ull;
constexpr std::uint64_t kHour = 3600ull * 10'000'000ull;
constexpr char kLibrary[] = "C:\\WINDOWS\\SYSTEM\\unidrv.dll";
constexpr char kHelp[] = "C:\\WINDOWS\\SYSTEM\\unidrv.hlp";

VsFixedFileInfo versionOf(Dword ms, Dword ls) {
  VsFixedFileInfo info{};
  info.dwSignature = kVsFixedFileInfoSignature;
  info.dwFileVersionMS = ms;
  info.dwFileVersionLS = ls;
  return info;
}

class OverwritePolicy : public InstallerTest, public ::testing::WithParamInterface<PolicyCase> {
 protected:
  void SetUp() override {
    prepare(Family::Win9x);
    fake::FakeFile package{"package unidrv.dll", versionOf(0x0002'000A, 0x0000'0005), kPackageTime};
    fake.addFile("C:\\SETUP\\driver9x\\unidrv.dll", package);
    fake.addFile("C:\\SETUP\\driver9x\\unidrv.hlp",
                 fake::FakeFile{"package unidrv.hlp", std::nullopt, kPackageTime});
  }

  void installUniversalDriver(Installed installed) {
    fake::FakeFile library{"installed unidrv.dll"};
    switch (installed) {
      case Installed::Absent:
        return;
      case Installed::Older:
        library.version = versionOf(0x0002'0009, 0x0000'0009);
        library.lastWrite = kPackageTime - kHour;
        break;
      case Installed::Newer:
        library.version = versionOf(0x0003'0000, 0);
        library.lastWrite = kPackageTime + kHour;
        break;
      case Installed::SameMinorOtherBuild:
        library.version = versionOf(0x0002'000A, 0x0000'0001);
        library.lastWrite = kPackageTime - kHour;
        break;
      case Installed::WithoutVersion:
        library.lastWrite = kPackageTime - kHour;
        break;
    }
    fake.addFile(kLibrary, library);
    // The help file is older in every case: only the library's verdict counts.
    fake.addFile(kHelp, fake::FakeFile{"installed unidrv.hlp", std::nullopt, kPackageTime - kHour});
  }
};

TEST_P(OverwritePolicy, DecidesBothFilesOnTheLibrarysVerdict) {
  const PolicyCase& c = GetParam();
  installUniversalDriver(c.installed);
  settings.overwrite = c.mode;
  ASSERT_EQ(install(), InstallResult::Completed);

  EXPECT_EQ(fake.file(kLibrary)->contents,
            c.libraryReplaced ? "package unidrv.dll" : "installed unidrv.dll");
  EXPECT_EQ(fake.file(kHelp)->contents,
            c.helpReplaced ? "package unidrv.hlp" : "installed unidrv.hlp");
  EXPECT_EQ(fake.openHandles(), 0);
  EXPECT_EQ(fake.liveAllocations(), 0);
}

// An absent file is always copied, so "replaced" there means "present afterwards".
INSTANTIATE_TEST_SUITE_P(
    PoliciesAgainstInstalledFiles, OverwritePolicy,
    ::testing::Values(
        PolicyCase{0, Installed::Absent, true, true}, PolicyCase{1, Installed::Absent, true, true},
        PolicyCase{2, Installed::Absent, true, true}, PolicyCase{3, Installed::Absent, true, true},
        PolicyCase{0, Installed::Older, true, true}, PolicyCase{1, Installed::Older, true, true},
        PolicyCase{2, Installed::Older, true, true}, PolicyCase{3, Installed::Older, false, false},
        PolicyCase{4, Installed::Older, false, false},
        PolicyCase{-1, Installed::Older, false, false},
        PolicyCase{0, Installed::Newer, false, false},
        PolicyCase{1, Installed::Newer, false, false}, PolicyCase{2, Installed::Newer, true, true},
        PolicyCase{3, Installed::Newer, false, false},
        PolicyCase{0, Installed::SameMinorOtherBuild, false, false},
        PolicyCase{1, Installed::SameMinorOtherBuild, true, true},
        PolicyCase{2, Installed::SameMinorOtherBuild, true, true},
        PolicyCase{3, Installed::SameMinorOtherBuild, false, false},
        PolicyCase{0, Installed::WithoutVersion, true, true},
        PolicyCase{1, Installed::WithoutVersion, true, true},
        PolicyCase{2, Installed::WithoutVersion, true, true},
        PolicyCase{3, Installed::WithoutVersion, false, false}));

TEST_F(InstallerTest, ByDateWithNoInstalledLibraryCopiesTheHelpOnlyIfAbsent) {
  prepare(Family::Win9x);
  fake.addFile(kHelp, fake::FakeFile{"installed unidrv.hlp"});
  settings.overwrite = kOverwriteByDate;
  install();
  EXPECT_EQ(fake.file(kLibrary)->contents, "package unidrv.dll");
  EXPECT_EQ(fake.file(kHelp)->contents, "installed unidrv.hlp");
  EXPECT_THAT(
      fake.copiesMade(),
      ::testing::Not(::testing::Contains(::testing::HasSubstr("C:\\WINDOWS\\SYSTEM\\unidrv.hlp"))));
}

TEST_F(InstallerTest, ComparisonTakesTheInstalledFileFirst) {
  prepare(Family::Win9x);
  settings.overwrite = kOverwriteByVersion;
  install();
  const auto sizes = fake.callTexts("GetFileVersionInfoSizeA");
  ASSERT_EQ(sizes.size(), 2u);
  EXPECT_NE(sizes[0].find("C:\\WINDOWS\\SYSTEM\\unidrv.dll"), std::string::npos);
  EXPECT_NE(sizes[1].find("driver9x\\unidrv.dll"), std::string::npos);
}

}  // namespace
}  // namespace qlx::testing_support

namespace qlx::testing_support {
namespace {

// Outside the user's policy, one rule for every kind of file placed: both
// versioned, the higher wins; only the installed one versioned, it stays;
// neither, the later date wins.
struct RuleCase {
  const char* label;
  Family family;
  const char* installedPath;  // where the installation places the file
  const char* packagePath;
  std::optional<Dword> installedVersion, packageVersion;  // high words
  std::int64_t installedHoursLater;                       // than the package's copy
  bool replaced;
  const char* endsAt = nullptr;  // where the copy that counts ends up, if elsewhere
};

class OneRule : public InstallerTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(OneRule, NothingOlderReplacesSomethingNewer) {
  const RuleCase& c = GetParam();
  prepare(c.family);
  const auto file = [](const char* contents, std::optional<Dword> version, std::int64_t hours) {
    fake::FakeFile made{contents};
    if (version) made.version = versionOf(*version, 0);
    made.lastWrite = static_cast<std::uint64_t>(static_cast<std::int64_t>(kPackageTime) +
                                                hours * static_cast<std::int64_t>(kHour));
    return made;
  };
  fake.addFile(c.packagePath, file("package", c.packageVersion, 0));
  fake.addFile(c.installedPath, file("installed", c.installedVersion, c.installedHoursLater));
  fake.clearCalls();
  install();
  const fake::FakeFile* placed = fake.file(c.endsAt != nullptr ? c.endsAt : c.installedPath);
  ASSERT_NE(placed, nullptr);
  EXPECT_EQ(placed->contents, c.replaced ? "package" : "installed");
}

constexpr char kDmcolor[] = "C:\\WINDOWS\\SYSTEM\\dmcolor.dll";
constexpr char kDmcolorPackage[] = "C:\\SETUP\\driver9x\\dmcolor.dll";
constexpr char kMonitor[] = "C:\\WINDOWS\\system32\\QLMON957.DLL";
constexpr char kMonitorPackage[] = "C:\\SETUP\\driverNT\\QLMON957.DLL";
constexpr char kUninstaller[] = "C:\\WINDOWS\\QLX-957\\Uninstall_2k.dll";
constexpr char kUninstallerPackage[] = "C:\\SETUP\\Uninstall_2k.dll";
constexpr char kStaged[] = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\UNIDRV.DLL";
constexpr char kStagedPackage[] = "C:\\SETUP\\driver2k\\UNIDRV.DLL";

INSTANTIATE_TEST_SUITE_P(
    PlacedFiles, OneRule,
    ::testing::Values(RuleCase{"SharedNewerVersionKept", Family::Win9x, kDmcolor, kDmcolorPackage,
                               0x0004005A, 0x00010000, -1, false},
                      RuleCase{"SharedVersionedAgainstNoneKept", Family::Win9x, kDmcolor,
                               kDmcolorPackage, 0x0004005A, std::nullopt, -1, false},
                      RuleCase{"SharedOlderVersionReplaced", Family::Win9x, kDmcolor,
                               kDmcolorPackage, 0x00010000, 0x00020000, 1, true},
                      RuleCase{"MonitorUnregisteredNewerKept", Family::WinNt, kMonitor,
                               kMonitorPackage, 0x00040000, 0x00030000, 0, false},
                      RuleCase{"MonitorWithoutVersionOlderReplaced", Family::WinNt, kMonitor,
                               kMonitorPackage, std::nullopt, std::nullopt, -1, true},
                      RuleCase{"UninstallerLaterDateKept", Family::WinNt, kUninstaller,
                               kUninstallerPackage, std::nullopt, std::nullopt, 1, false},
                      RuleCase{"UninstallerSameDateReplaced", Family::WinNt, kUninstaller,
                               kUninstallerPackage, std::nullopt, std::nullopt, 0, true},
                      RuleCase{"StagedNewerVersionKeptForTheSpooler", Family::Win2000, kStaged,
                               kStagedPackage, 0x00060000, 0x00050000, 0, false,
                               "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\UNIDRV.DLL"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace qlx::testing_support
