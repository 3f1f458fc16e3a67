// The fake's own Windows semantics, the ones the engine's tests lean on.

#include <gmock/gmock.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

#include "FakePlatform.h"

namespace qlx::fake {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kCanary = '#';
constexpr char kDriverDir[] = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86";

template <std::size_t N>
bool untouched(const std::array<char, N>& buffer) {
  for (char c : buffer) {
    if (c != kCanary) return false;
  }
  return true;
}

template <std::size_t N>
std::array<char, N> canaries() {
  std::array<char, N> buffer;
  buffer.fill(kCanary);
  return buffer;
}

class Fake : public ::testing::Test {
 protected:
  FakePlatform fake;
};

// ---- directories

struct SizeCase {
  Dword size;
  Dword expected;
  bool written;
};

class SystemDirectorySize : public Fake, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(SystemDirectorySize, ReturnsLengthOrNeededSizeAndNeverWritesPastTheSize) {
  const SizeCase& c = GetParam();
  auto buffer = canaries<64>();
  // "C:\WINDOWS\system32" is 19 characters.
  EXPECT_EQ(fake.getSystemDirectory(buffer.data(), c.size), c.expected);
  if (c.written) {
    EXPECT_STREQ(buffer.data(), "C:\\WINDOWS\\system32");
    EXPECT_EQ(buffer[20], kCanary);
  } else {
    EXPECT_TRUE(untouched(buffer));
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, SystemDirectorySize,
                         ::testing::Values(SizeCase{0, 20, false}, SizeCase{19, 20, false},
                                           SizeCase{20, 19, true}, SizeCase{64, 19, true}));

TEST_F(Fake, SpoolerDirectoryFollowsTheBufferContract) {
  auto buffer = canaries<80>();
  Dword needed = 0;
  const auto size = static_cast<Dword>(sizeof kDriverDir);
  auto* bytes = reinterpret_cast<std::uint8_t*>(buffer.data());

  EXPECT_FALSE(fake.getPrinterDriverDirectory(nullptr, nullptr, 1, bytes, size - 1, &needed));
  EXPECT_EQ(fake.getLastError(), kErrorInsufficientBuffer);
  EXPECT_EQ(needed, size);
  EXPECT_TRUE(untouched(buffer));

  EXPECT_FALSE(fake.getPrinterDriverDirectory(nullptr, nullptr, 2, bytes, 80, &needed));
  EXPECT_EQ(fake.getLastError(), 124u);
  EXPECT_FALSE(fake.getPrinterDriverDirectory(nullptr, "Windows 4.0", 1, bytes, 80, &needed));
  EXPECT_EQ(fake.getLastError(), 1805u);  // not this machine's environment

  ASSERT_TRUE(fake.getPrinterDriverDirectory(nullptr, "windows nt x86", 1, bytes, size, &needed));
  EXPECT_STREQ(buffer.data(), kDriverDir);
  EXPECT_EQ(buffer[size], kCanary);
}

TEST_F(Fake, Windows9xLayoutReportsTheSystemDirectoryEverywhere) {
  fake.useWindows9xLayout();
  OsVersionInfo info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(fake.getVersionEx(info));
  EXPECT_EQ(info.dwPlatformId, 1u);
  EXPECT_EQ(info.dwMinorVersion, 10u);
  EXPECT_EQ(info.dwBuildNumber & 0xFFFF, 1998u);

  std::array<char, 64> buffer{};
  Dword needed = 0;
  auto* bytes = reinterpret_cast<std::uint8_t*>(buffer.data());
  ASSERT_TRUE(fake.getPrintProcessorDirectory(nullptr, "Windows 4.0", 1, bytes, 64, &needed));
  EXPECT_STREQ(buffer.data(), "C:\\WINDOWS\\SYSTEM");
  EXPECT_TRUE(fake.directoryExists("c:\\windows\\system"));
}

TEST_F(Fake, VersionQueryNeedsTheRecordSize) {
  OsVersionInfo info{};
  EXPECT_FALSE(fake.getVersionEx(info));
  EXPECT_EQ(fake.getLastError(), kErrorInsufficientBuffer);
  info.dwOSVersionInfoSize = sizeof info;
  fake.setVersionQueryFails(1);
  EXPECT_FALSE(fake.getVersionEx(info));
  ASSERT_TRUE(fake.getVersionEx(info));
  EXPECT_EQ(info.dwMajorVersion, 5u);
  EXPECT_EQ(info.dwMinorVersion, 1u);
}

// ---- files

TEST_F(Fake, RelativePathsResolveAgainstTheSetupFolderWithoutCase) {
  fake.addFile("driver2k\\QLX.DLL", FakeFile{.contents = "x"});
  EXPECT_EQ(fake.resolve("driver2k\\..\\driver2k\\.\\QLX.DLL"), "C:\\SETUP\\driver2k\\QLX.DLL");
  EXPECT_TRUE(fake.fileExists("c:/setup/DRIVER2K/qlx.dll"));
  EXPECT_THAT(fake.filesIn("C:\\setup\\driver2k"), ElementsAre("QLX.DLL"));
}

struct CopyCase {
  const char* name;
  const char* from;
  const char* to;
  bool failIfExists;
  Dword error;
};

class CopyFailure : public Fake, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(CopyFailure, LeavesTheTargetAsItWas) {
  const CopyCase& c = GetParam();
  fake.addFile("C:\\SETUP\\A.DLL", FakeFile{.contents = "new"});
  fake.addFile("C:\\OUT\\A.DLL", FakeFile{.contents = "old"});
  fake.addFile("C:\\OUT\\BUSY.DLL", FakeFile{.contents = "busy", .openForWriting = true});
  EXPECT_FALSE(fake.copyFile(c.from, c.to, c.failIfExists));
  EXPECT_EQ(fake.getLastError(), c.error);
  EXPECT_EQ(fake.file("C:\\OUT\\A.DLL")->contents, "old");
}

INSTANTIATE_TEST_SUITE_P(
    Win32Codes, CopyFailure,
    ::testing::Values(CopyCase{"MissingSource", "NONE.DLL", "C:\\OUT\\N.DLL", false, 2},
                      CopyCase{"MissingTargetDir", "A.DLL", "C:\\NOWHERE\\A.DLL", false, 3},
                      CopyCase{"TargetExists", "A.DLL", "C:\\OUT\\A.DLL", true, 80},
                      CopyCase{"TargetBusy", "A.DLL", "C:\\OUT\\BUSY.DLL", false, 32},
                      CopyCase{"OntoItself", "C:\\OUT\\A.DLL", "c:\\out\\a.dll", false, 32}),
    [](const auto& test) { return std::string(test.param.name); });

// Renames as Windows makes them: NT renames a loaded library but replaces
// none; 9x renames neither; only MoveFileExA with its flag replaces.
TEST_F(Fake, RenamesFollowEachFamilysRules) {
  struct Case {
    const char* label;
    bool win9x, ex;
    Dword flags;
    const char* from;
    const char* to;
    Dword error;  // 0: renamed
  };
  const Case cases[] = {
      {"a rename", false, false, 0, "NEW.DLL", "C:\\OUT\\B.DLL", 0},
      {"onto a file", false, false, 0, "NEW.DLL", "C:\\OUT\\A.DLL", 183},
      {"replacing", false, true, kMoveFileReplaceExisting, "NEW.DLL", "C:\\OUT\\A.DLL", 0},
      {"replacing a loaded one", false, true, kMoveFileReplaceExisting, "NEW.DLL",
       "C:\\OUT\\HELD.DLL", 5},
      {"a loaded one aside on NT", false, true, 0, "C:\\OUT\\HELD.DLL", "C:\\OUT\\HELD.OLD", 0},
      {"a loaded one aside on 9x", true, false, 0, "C:\\OUT\\HELD.DLL", "C:\\OUT\\HELD.OLD", 32},
      {"no MoveFileExA on 9x", true, true, 0, "NEW.DLL", "C:\\OUT\\B.DLL", 120},
  };
  for (const Case& c : cases) {
    FakePlatform machine;
    if (c.win9x) machine.useWindows9xLayout();
    machine.addFile("NEW.DLL", FakeFile{.contents = "new"});
    machine.addFile("C:\\OUT\\A.DLL", FakeFile{.contents = "old"});
    machine.addFile("C:\\OUT\\HELD.DLL", FakeFile{.contents = "held", .loaded = true});
    const bool moved =
        c.ex ? machine.moveFileEx(c.from, c.to, c.flags) : machine.moveFile(c.from, c.to);
    EXPECT_EQ(moved, c.error == 0) << c.label;
    if (!moved) EXPECT_EQ(machine.getLastError(), c.error) << c.label;
    EXPECT_EQ(machine.fileExists(c.from), !moved) << c.label;
  }
}

// What waits for the start: MoveFileExA's delayed operations, kept where
// Windows keeps them, and WININIT.INI's lines by short names.
TEST_F(Fake, TheStartCarriesOutWhatWasScheduled) {
  fake.addFile("C:\\OUT\\GONE.DLL");
  ASSERT_TRUE(fake.moveFileEx("C:\\OUT\\GONE.DLL", nullptr, kMoveFileDelayUntilReboot));
  EXPECT_THAT(fake.deletionsAtRestart(), ElementsAre("C:\\OUT\\GONE.DLL"));
  HKey key = 0;
  ASSERT_EQ(
      fake.regOpenKeyEx(kHKeyLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                        kKeyRead, &key),
      0);
  Dword size = 0;
  EXPECT_EQ(fake.regQueryValueEx(key, "PendingFileRenameOperations", nullptr, nullptr, &size), 0);
  EXPECT_EQ(size, std::string("\\??\\C:\\OUT\\GONE.DLL\0\0\0", 22).size());
  Dword small = 4;
  std::uint8_t bytes[4];
  EXPECT_EQ(fake.regQueryValueEx(key, "PendingFileRenameOperations", nullptr, bytes, &small), 234);
  fake.regCloseKey(key);
  fake.restartWindows();
  EXPECT_FALSE(fake.fileExists("C:\\OUT\\GONE.DLL"));

  fake.useWindows9xLayout();
  fake.addFile("C:\\WINDOWS\\SYSTEM\\MON.DLL", FakeFile{.contents = "old"});
  fake.addFile("C:\\WINDOWS\\SYSTEM\\MON.DLL.qlx-new", FakeFile{.contents = "new"});
  fake.addFile(
      "C:\\WINDOWS\\WININIT.INI",
      FakeFile{
          .contents =
              "[rename]\r\nC:\\WINDOWS\\SYSTEM\\MON.DLL=C:\\WINDOWS\\SYSTEM\\MONDLL~1.QLX\r\n"});
  fake.restartWindows();
  EXPECT_EQ(fake.file("C:\\WINDOWS\\SYSTEM\\MON.DLL")->contents, "new");
  EXPECT_FALSE(fake.fileExists("C:\\WINDOWS\\WININIT.INI"));
}

TEST_F(Fake, APowerCutLeavesTheCopyInProgressHalfWritten) {
  fake.addFile("A.DLL", FakeFile{.contents = "complete"});
  fake.addDirectory("C:\\OUT");
  fake.cutPowerAfter(1);
  fake.getLastError();
  EXPECT_THROW(fake.copyFile("A.DLL", "C:\\OUT\\A.DLL", false), PowerCut);
  ASSERT_TRUE(fake.fileExists("C:\\OUT\\A.DLL"));
  EXPECT_EQ(fake.file("C:\\OUT\\A.DLL")->contents, "comp");
}

TEST_F(Fake, CopyCarriesContentsVersionAndLastWriteTime) {
  VsFixedFileInfo version{};
  version.dwFileVersionMS = 0x00020001;
  fake.addFile("A.DLL", FakeFile{.contents = "bytes", .version = version, .lastWrite = 1234});
  fake.addFile("C:\\OUT\\A.DLL", FakeFile{.contents = "old"});
  ASSERT_TRUE(fake.copyFile("A.DLL", "C:\\OUT\\a.dll", false));
  const FakeFile* copy = fake.file("C:\\OUT\\A.DLL");
  EXPECT_EQ(copy->contents, "bytes");
  EXPECT_EQ(copy->lastWrite, 1234u);
  EXPECT_EQ(copy->version->dwFileVersionMS, 0x00020001u);
}

TEST_F(Fake, AnOpenFileCanBeNeitherDeletedNorReplaced) {
  fake.addFile("C:\\OUT\\A.DLL", FakeFile{.contents = "a", .lastWrite = 0x0000000500000007ull});
  fake.addFile("B.DLL", FakeFile{.contents = "b"});
  const Handle file = fake.createFile("C:\\OUT\\A.DLL", kGenericRead, kFileShareRead, kOpenExisting,
                                      kFileAttributeNormal);
  ASSERT_NE(file, kInvalidHandleValue);
  EXPECT_FALSE(fake.deleteFile("C:\\OUT\\A.DLL"));
  EXPECT_EQ(fake.getLastError(), kErrorSharingViolation);
  EXPECT_FALSE(fake.copyFile("B.DLL", "C:\\OUT\\A.DLL", false));
  EXPECT_EQ(fake.getLastError(), kErrorSharingViolation);

  FileTime lastWrite{};
  ASSERT_TRUE(fake.getFileTime(file, nullptr, nullptr, &lastWrite));
  EXPECT_EQ(lastWrite.dwLowDateTime, 7u);
  EXPECT_EQ(lastWrite.dwHighDateTime, 5u);

  EXPECT_TRUE(fake.closeHandle(file));
  EXPECT_FALSE(fake.closeHandle(file));
  EXPECT_EQ(fake.getLastError(), kErrorInvalidHandle);
  EXPECT_TRUE(fake.deleteFile("C:\\OUT\\A.DLL"));
  EXPECT_FALSE(fake.deleteFile("C:\\OUT\\A.DLL"));
  EXPECT_EQ(fake.getLastError(), kErrorFileNotFound);
}

TEST_F(Fake, OpeningAndCreatingReportWin32Codes) {
  fake.addFile("C:\\OUT\\BUSY.DLL", FakeFile{.contents = "busy", .openForWriting = true});
  const auto open = [&](const char* path) {
    return fake.createFile(path, kGenericRead, kFileShareRead, kOpenExisting, kFileAttributeNormal);
  };
  EXPECT_EQ(open("C:\\OUT\\NONE.DLL"), kInvalidHandleValue);
  EXPECT_EQ(fake.getLastError(), kErrorFileNotFound);
  EXPECT_EQ(open("C:\\OUT\\BUSY.DLL"), kInvalidHandleValue);
  EXPECT_EQ(fake.getLastError(), kErrorSharingViolation);
  EXPECT_FALSE(fake.createDirectory("C:\\OUT"));
  EXPECT_EQ(fake.getLastError(), kErrorAlreadyExists);
  EXPECT_FALSE(fake.createDirectory("C:\\NEW\\SUB"));
  EXPECT_EQ(fake.getLastError(), 3u);
  EXPECT_EQ(fake.openHandles(), 0);
}

// ---- version resources

TEST_F(Fake, VersionBlockHoldsTheFixedInfoWithItsSignature) {
  VsFixedFileInfo version{};
  version.dwFileVersionMS = 0x00010002;
  version.dwFileVersionLS = 0x00030004;
  fake.addFile("A.DLL", FakeFile{.contents = "a", .version = version});
  fake.addFile("PLAIN.TXT", FakeFile{.contents = "t"});

  Dword handle = 99;
  const Dword size = fake.getFileVersionInfoSize("A.DLL", &handle);
  ASSERT_GT(size, sizeof(VsFixedFileInfo));
  EXPECT_EQ(handle, 0u);
  std::vector<std::uint8_t> block(size);
  ASSERT_TRUE(fake.getFileVersionInfo("A.DLL", 0, size, block.data()));

  void* value = nullptr;
  unsigned length = 0;
  ASSERT_TRUE(fake.verQueryValue(block.data(), "\\", &value, &length));
  ASSERT_EQ(length, sizeof(VsFixedFileInfo));
  const auto* at = static_cast<std::uint8_t*>(value);
  ASSERT_TRUE(at >= block.data() && at + length <= block.data() + block.size());
  VsFixedFileInfo read{};
  std::memcpy(&read, value, sizeof read);
  EXPECT_EQ(read.dwSignature, kVsFixedFileInfoSignature);
  EXPECT_EQ(read.dwFileVersionLS, 0x00030004u);
  EXPECT_FALSE(fake.verQueryValue(block.data(), "\\StringFileInfo", &value, &length));

  EXPECT_EQ(fake.getFileVersionInfoSize("PLAIN.TXT", nullptr), 0u);
  EXPECT_EQ(fake.getLastError(), 1813u);
  EXPECT_EQ(fake.getFileVersionInfoSize("NONE.DLL", nullptr), 0u);
  EXPECT_EQ(fake.getLastError(), kErrorFileNotFound);
}

TEST_F(Fake, VersionInfoWritesNoMoreThanTheSizeGiven) {
  fake.addFile("A.DLL", FakeFile{.contents = "a", .version = VsFixedFileInfo{}});
  auto buffer = canaries<128>();
  ASSERT_TRUE(fake.getFileVersionInfo("A.DLL", 0, 8, buffer.data()));
  EXPECT_NE(buffer[7], kCanary);
  EXPECT_TRUE(std::all_of(buffer.begin() + 8, buffer.end(), [](char c) { return c == kCanary; }));
}

// ---- memory and messages

TEST_F(Fake, GlobalBlocksAndMessageBuffersAreCountedUntilFreed) {
  const HGlobal memory = fake.globalAlloc(kGmemMoveableZeroInit, 16);
  auto* bytes = static_cast<std::uint8_t*>(fake.globalLock(memory));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes[15], 0);
  EXPECT_EQ(fake.globalHandle(bytes), memory);

  char* text = nullptr;
  const Dword length =
      fake.formatMessage(kFormatMessageAllocateFromSystem, nullptr, 2, kLanguageEnglishUs, &text);
  EXPECT_EQ(std::string(text, length), "The system cannot find the file specified.\r\n");
  EXPECT_EQ(fake.liveAllocations(), 2);

  // The last unlock answers FALSE with NO_ERROR.
  EXPECT_FALSE(fake.globalUnlock(memory));
  EXPECT_EQ(fake.getLastError(), kErrorSuccess);
  EXPECT_EQ(fake.globalFree(memory), 0u);
  fake.localFree(text);
  EXPECT_EQ(fake.liveAllocations(), 0);
  EXPECT_EQ(fake.globalFree(memory), memory);  // stale
  EXPECT_EQ(fake.getLastError(), kErrorInvalidHandle);
}

TEST_F(Fake, MessageTextsCanBeReplacedOrRemoved) {
  char* text = nullptr;
  fake.setSystemMessage(5, "Nope.\r\n");
  EXPECT_EQ(
      fake.formatMessage(kFormatMessageAllocateFromSystem, nullptr, 5, kLanguageEnglishUs, &text),
      7u);
  fake.localFree(text);
  fake.setSystemMessage(5, std::nullopt);
  EXPECT_EQ(
      fake.formatMessage(kFormatMessageAllocateFromSystem, nullptr, 5, kLanguageEnglishUs, &text),
      0u);
  EXPECT_EQ(fake.getLastError(), 317u);
  EXPECT_EQ(fake.liveAllocations(), 0);
}

// ---- failure injection and the record

TEST_F(Fake, InjectedFailureSetsTheErrorAndDoesNothingElse) {
  fake.addFile("A.DLL", FakeFile{.contents = "a"});
  fake.failCall("CopyFileA", 1234, 2);
  EXPECT_TRUE(fake.copyFile("A.DLL", "B.DLL", false));
  EXPECT_FALSE(fake.copyFile("A.DLL", "C.DLL", false));
  EXPECT_EQ(fake.getLastError(), 1234u);
  EXPECT_FALSE(fake.fileExists("C.DLL"));
  EXPECT_THAT(fake.callTexts("CopyFileA"),
              ElementsAre("CopyFileA(A.DLL, B.DLL, 0)", "CopyFileA(A.DLL, C.DLL, 0)"));

  // Registry calls return the code and leave the last error alone.
  fake.failCall("RegCreateKeyA", 5);
  HKey key = 0;
  EXPECT_EQ(fake.regCreateKey(kHKeyLocalMachine, "SOFTWARE\\X", &key), 5);
  EXPECT_EQ(fake.getLastError(), 1234u);
  EXPECT_FALSE(fake.registryKeyExists("SOFTWARE\\X"));
  EXPECT_THROW(fake.failCall("CloseHandle", 6), std::invalid_argument);
}

TEST_F(Fake, EveryFailableCallCanBeFailedInTurn) {
  const auto scenario = [](FakePlatform& machine) {
    machine.addFile("A.DLL", FakeFile{.contents = "a"});
    HKey key = 0;
    const bool copied = machine.copyFile("A.DLL", "B.DLL", false);
    machine.sleep(10);  // not failable, not counted
    const bool keyed = machine.regCreateKey(kHKeyLocalMachine, "SOFTWARE\\X", &key) == 0;
    if (keyed) machine.regCloseKey(key);
    return copied && keyed;
  };
  FakePlatform clean;
  ASSERT_TRUE(scenario(clean));
  ASSERT_EQ(clean.failableCallCount(), 2u);
  for (std::size_t index = 0; index < clean.failableCallCount(); ++index) {
    FakePlatform machine;
    machine.failNthFailableCall(index, 8);
    EXPECT_FALSE(scenario(machine)) << "index " << index;
    EXPECT_EQ(machine.openHandles(), 0);
  }
}

TEST_F(Fake, CallsAreRecordedWithTheirArguments) {
  fake.sleep(500);
  EXPECT_EQ(fake.getCurrentProcess(), kInvalidHandleValue);
  std::uint8_t buffer[4];
  Dword needed = 0, returned = 0;
  fake.enumPrinterDrivers(nullptr, nullptr, 3, buffer, 4, &needed, &returned);
  HKey key = 0;
  fake.regOpenKeyEx(kHKeyLocalMachine, "SOFTWARE", 0, kKeyReadWrite, &key);
  EXPECT_THAT(fake.callTexts(), ElementsAre("Sleep(500)", "GetCurrentProcess()",
                                            "EnumPrinterDriversA(null, null, 3, buffer, 4)",
                                            "RegOpenKeyExA(HKLM, SOFTWARE, 0, 131103)"));
  fake.clearCalls();
  EXPECT_THAT(fake.calls(), IsEmpty());
  EXPECT_EQ(fake.failableCallCount(), 0u);  // counting starts again
}

TEST_F(Fake, ArmedFaultsCountFromTheLastClear) {
  fake.failCall("CreateDirectoryA", 5, 2);
  fake.failNthFailableCall(2, 8);
  EXPECT_TRUE(fake.createDirectory("C:\\A"));
  fake.clearCalls();
  EXPECT_TRUE(fake.createDirectory("C:\\B"));  // the first again
  EXPECT_FALSE(fake.createDirectory("C:\\C"));
  EXPECT_EQ(fake.getLastError(), 5u);
  EXPECT_FALSE(fake.createDirectory("C:\\D"));  // index 2 since the clear
  EXPECT_EQ(fake.getLastError(), 8u);
  EXPECT_FALSE(fake.directoryExists("C:\\D"));
}

// ---- registry

TEST_F(Fake, RegistryKeysFollowWin32Rules) {
  HKey key = 0;
  EXPECT_EQ(fake.regOpenKeyEx(kHKeyLocalMachine, "SOFTWARE\\Vendor", 0, kKeyReadWrite, &key), 2);
  ASSERT_EQ(fake.regCreateKey(kHKeyLocalMachine, "SOFTWARE\\Vendor\\App", &key), 0);
  const std::uint8_t data[] = {'h', 'i'};  // no NUL: stored as passed
  EXPECT_EQ(fake.regSetValueEx(key, "Name", 0, kRegSz, data, 2), 0);
  EXPECT_EQ(fake.openHandles(), 1);
  EXPECT_EQ(fake.regCloseKey(key), 0);
  EXPECT_EQ(fake.openHandles(), 0);

  const auto values = fake.registryValues("software\\VENDOR\\app");
  ASSERT_EQ(values.count("Name"), 1u);
  EXPECT_EQ(values.at("Name").type, kRegSz);
  EXPECT_THAT(values.at("Name").data, ElementsAre('h', 'i'));

  EXPECT_EQ(fake.regDeleteKey(kHKeyLocalMachine, "SOFTWARE\\Vendor"), 5);  // has a subkey
  EXPECT_EQ(fake.regDeleteKey(kHKeyLocalMachine, "SOFTWARE\\Vendor\\App"), 0);
  EXPECT_EQ(fake.regDeleteKey(kHKeyLocalMachine, "SOFTWARE\\Vendor\\App"), 2);

  const Dword keyRead = 0x20019;
  fake.addRegistryKey("SOFTWARE\\RO");
  ASSERT_EQ(fake.regOpenKeyEx(kHKeyLocalMachine, "SOFTWARE\\RO", 0, keyRead, &key), 0);
  EXPECT_EQ(fake.regSetValueEx(key, "v", 0, kRegSz, data, 2), 5);
  fake.regCloseKey(key);
}

TEST_F(Fake, Windows9xDeletesAKeyWithItsSubkeys) {
  fake.useWindows9xLayout();
  fake.addRegistryKey("SOFTWARE\\Tree", {}, true);
  EXPECT_EQ(fake.regDeleteKey(kHKeyLocalMachine, "SOFTWARE\\Tree"), 0);
  EXPECT_FALSE(fake.registryKeyExists("SOFTWARE\\Tree\\Subkey"));
}

// ---- token

TEST_F(Fake, AdjustingPrivilegesReportsAssignmentThroughTheLastError) {
  for (const bool held : {true, false}) {
    FakePlatform machine;
    machine.setShutdownPrivilegeHeld(held);
    Handle token = 0;
    ASSERT_TRUE(machine.openProcessToken(machine.getCurrentProcess(), 0x28, &token));
    TokenPrivileges privileges{1, {{{0, 0}, kSePrivilegeEnabled}}};
    ASSERT_TRUE(machine.lookupPrivilegeValue(nullptr, "SeShutdownPrivilege",
                                             &privileges.Privileges[0].Luid));
    EXPECT_EQ(privileges.Privileges[0].Luid.LowPart, 19u);
    EXPECT_TRUE(machine.adjustTokenPrivileges(token, false, &privileges, 0, nullptr, nullptr));
    EXPECT_EQ(machine.getLastError(), held ? kErrorSuccess : kErrorNotAllAssigned);
    EXPECT_EQ(machine.shutdownPrivilegeEnabled(), held);
    EXPECT_EQ(machine.openHandles(), 1);
    EXPECT_TRUE(machine.closeHandle(token));
    EXPECT_EQ(machine.openHandles(), 0);
  }
  Luid luid{};
  EXPECT_FALSE(fake.lookupPrivilegeValue(nullptr, "SeNoSuchPrivilege", &luid));
  EXPECT_EQ(fake.getLastError(), 1313u);
}

// ---- spooler

class Spooler : public Fake {
 protected:
  void stage(const std::string& directory, std::initializer_list<const char*> names) {
    for (const char* name : names)
      fake.addFile(directory + "\\" + name, FakeFile{.contents = name});
  }
  static constexpr char kDependents[] = "QLUI.INI\0QLX.GPD\0";
  DriverInfo3 driver{3,          "QLX",      nullptr,     "QLX.DLL", "QLX.GPD",
                     "QLUI.DLL", "QLUI.HLP", kDependents, nullptr,   "RAW"};
};

TEST_F(Spooler, EnumerationLaysRecordsThenStringsInsideTheBuffer) {
  Dword needed = 1, returned = 1;
  EXPECT_TRUE(fake.enumPrinterDrivers(nullptr, nullptr, 4, nullptr, 0, &needed, &returned));
  EXPECT_EQ(needed, 0u);
  EXPECT_EQ(returned, 0u);

  fake.addInstalledDriver("First", "Windows NT x86");
  fake.addInstalledDriver("Other", "Windows 4.0");  // another environment: not listed
  fake.addInstalledDriver("Second", "Windows NT x86");
  for (const Dword level : {3u, 4u}) {
    ASSERT_FALSE(fake.enumPrinterDrivers(nullptr, nullptr, level, nullptr, 0, &needed, &returned));
    EXPECT_EQ(fake.getLastError(), kErrorInsufficientBuffer);
    std::vector<std::uint8_t> buffer(needed + 8, 0xEE);
    ASSERT_FALSE(fake.enumPrinterDrivers(nullptr, nullptr, level, buffer.data(), needed - 1,
                                         &needed, &returned));
    EXPECT_EQ(returned, 0u);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](auto b) { return b == 0xEE; }));

    ASSERT_TRUE(fake.enumPrinterDrivers(nullptr, nullptr, level, buffer.data(), needed, &needed,
                                        &returned));
    ASSERT_EQ(returned, 2u);
    const std::size_t stride = level == 4 ? sizeof(DriverInfo4) : sizeof(DriverInfo3);
    EXPECT_EQ(needed, 2 * stride + sizeof "First" + sizeof "Second" + 2 * sizeof "Windows NT x86");
    DriverInfo3 second{};
    std::memcpy(&second, buffer.data() + stride, sizeof second);
    EXPECT_STREQ(second.pName, "Second");
    EXPECT_STREQ(second.pEnvironment, "Windows NT x86");
    EXPECT_EQ(second.pDriverPath, nullptr);
    const auto* name = reinterpret_cast<const std::uint8_t*>(second.pName);
    EXPECT_TRUE(name >= buffer.data() + 2 * stride && name < buffer.data() + needed);
    EXPECT_EQ(buffer[needed], 0xEE);
  }
  EXPECT_FALSE(fake.enumPrinterDrivers(nullptr, nullptr, 2, nullptr, 0, &needed, &returned));
  EXPECT_EQ(fake.getLastError(), 124u);
}

TEST_F(Spooler, NtDriverFilesAreCopiedIntoTheVersionFolder) {
  stage(kDriverDir, {"QLX.DLL", "QLX.GPD", "QLUI.DLL", "QLUI.INI"});  // no help file
  ASSERT_TRUE(fake.addPrinterDriver(nullptr, 3, &driver));
  EXPECT_THAT(fake.filesIn(std::string(kDriverDir) + "\\3"),
              ElementsAre("QLUI.DLL", "QLUI.INI", "QLX.DLL", "QLX.GPD"));
  EXPECT_TRUE(fake.fileExists(std::string(kDriverDir) + "\\QLX.DLL"));  // originals stay
  EXPECT_THAT(fake.installedDriverNames(), ElementsAre("QLX"));
  ASSERT_EQ(fake.drivers().size(), 1u);
  EXPECT_EQ(fake.drivers()[0].dependentFiles, std::string("QLUI.INI\0QLX.GPD\0\0", 18));
}

// Added again, the driver takes a staged file only when it is newer.
TEST_F(Spooler, AddedAgainTheDriverTakesOnlyNewerFiles) {
  stage(kDriverDir, {"QLX.DLL", "QLX.GPD", "QLUI.DLL"});
  ASSERT_TRUE(fake.addPrinterDriver(nullptr, 3, &driver));
  const std::string version = std::string(kDriverDir) + "\\3\\";
  fake.addFile(std::string(kDriverDir) + "\\QLX.DLL",
               FakeFile{.contents = "newer", .lastWrite = 9});
  fake.addFile(version + "QLUI.DLL", FakeFile{.contents = "in use", .lastWrite = 9});
  ASSERT_TRUE(fake.addPrinterDriver(nullptr, 3, &driver));
  EXPECT_EQ(fake.file(version + "QLX.DLL")->contents, "newer");
  EXPECT_EQ(fake.file(version + "QLUI.DLL")->contents, "in use");
}

TEST_F(Spooler, Windows9xDriverFilesStayInPlace) {
  fake.useWindows9xLayout();
  stage("C:\\WINDOWS\\SYSTEM", {"QLX.DLL", "QLX.GPD", "QLUI.DLL"});
  ASSERT_TRUE(fake.addPrinterDriver(nullptr, 3, &driver));
  EXPECT_FALSE(fake.directoryExists("C:\\WINDOWS\\SYSTEM\\3"));
  EXPECT_THAT(fake.installedDriverNames(), ElementsAre("QLX"));
}

TEST_F(Spooler, DriverNeedsItsThreeFiles) {
  stage(kDriverDir, {"QLX.DLL", "QLUI.DLL"});
  EXPECT_FALSE(fake.addPrinterDriver(nullptr, 3, &driver));
  EXPECT_EQ(fake.getLastError(), kErrorFileNotFound);
  EXPECT_THAT(fake.installedDriverNames(), IsEmpty());
  EXPECT_EQ(fake.driverCalls().size(), 1u);
}

TEST_F(Spooler, MonitorsAndProcessorsReportWin32Codes) {
  const MonitorInfo2 monitor{"Mon", nullptr, "QLMON.DLL"};
  EXPECT_FALSE(fake.addMonitor(nullptr, 2, &monitor));
  EXPECT_EQ(fake.getLastError(), 126u);  // not in the system directory
  fake.addFile("C:\\WINDOWS\\system32\\QLMON.DLL");
  EXPECT_TRUE(fake.addMonitor(nullptr, 2, &monitor));
  EXPECT_FALSE(fake.addMonitor(nullptr, 2, &monitor));
  EXPECT_EQ(fake.getLastError(), kErrorPrintMonitorAlreadyInstalled);
  EXPECT_EQ(fake.monitors().size(), 1u);
  EXPECT_EQ(fake.monitorCalls().size(), 3u);

  EXPECT_FALSE(fake.addPrintProcessor(nullptr, nullptr, nullptr, "Proc"));
  EXPECT_EQ(fake.getLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(fake.addPrintProcessor(nullptr, nullptr, "QLPRO.DLL", "Proc"));
  EXPECT_EQ(fake.getLastError(), kErrorFileNotFound);
  fake.addFile("C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86\\QLPRO.DLL");
  EXPECT_FALSE(fake.addPrintProcessor(nullptr, nullptr, "QLPRO.DLL", "winprint"));
  EXPECT_EQ(fake.getLastError(), kErrorPrintProcessorAlreadyInstalled);
  EXPECT_TRUE(fake.addPrintProcessor(nullptr, nullptr, "QLPRO.DLL", "Proc"));
}

struct PrinterCase {
  const char* name;
  const char* printer;
  const char* driverName;
  const char* processor;
  const char* port;
  Dword error;
};

class AddPrinter : public Spooler, public ::testing::WithParamInterface<PrinterCase> {};

TEST_P(AddPrinter, ChecksNameDriverProcessorAndPort) {
  const PrinterCase& c = GetParam();
  fake.addInstalledDriver("QLX", "Windows NT x86");
  fake.addInstalledPrinter("Taken");
  PrinterInfo2 info{};
  info.pPrinterName = c.printer;
  info.pDriverName = c.driverName;
  info.pPrintProcessor = c.processor;
  info.pPortName = c.port;
  const PrinterHandle printer = fake.addPrinter(nullptr, 2, &info);
  if (c.error == kErrorSuccess) {
    ASSERT_NE(printer, 0u);
    EXPECT_EQ(fake.openHandles(), 1);
    EXPECT_TRUE(fake.closePrinter(printer));
    PrinterHandle opened = 0;
    EXPECT_TRUE(fake.openPrinter(c.printer, &opened, nullptr));
    EXPECT_TRUE(fake.closePrinter(opened));
  } else {
    EXPECT_EQ(printer, 0u);
    EXPECT_EQ(fake.getLastError(), c.error);
    EXPECT_THAT(fake.printers(), IsEmpty());
  }
  EXPECT_EQ(fake.printerCalls().size(), 1u);
  EXPECT_EQ(fake.openHandles(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Win32Codes, AddPrinter,
    ::testing::Values(PrinterCase{"Added", "New", "qlx", "WinPrint", "LPT1:", 0},
                      PrinterCase{"NameTaken", "TAKEN", "QLX", "WinPrint", "LPT1:", 1802},
                      PrinterCase{"UnknownDriver", "New", "Other", "WinPrint", "LPT1:", 1797},
                      PrinterCase{"UnknownProcessor", "New", "QLX", "Proc", "LPT1:", 1798},
                      PrinterCase{"UnknownPort", "New", "QLX", "WinPrint", "LPT4:", 1796},
                      PrinterCase{"NoPort", "New", "QLX", "WinPrint", nullptr, 1796}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(Spooler, OpeningAnUnknownPrinterFails) {
  PrinterHandle printer = 0;
  EXPECT_FALSE(fake.openPrinter("Nobody", &printer, nullptr));
  EXPECT_EQ(fake.getLastError(), kErrorInvalidPrinterName);
  EXPECT_FALSE(fake.closePrinter(0x1234));
  EXPECT_EQ(fake.openHandles(), 0);
}

// ---- user interface

TEST_F(Fake, MessageBoxesAnswerFromTheQueueThenByTheirButtons) {
  fake.queueMessageBoxAnswer(kIdYes);
  EXPECT_EQ(fake.messageBox(0, "Restart?", "Setup", kMbYesNo | kMbIconQuestion), kIdYes);
  EXPECT_EQ(fake.messageBox(0, "Restart?", "Setup", kMbYesNo), kIdNo);
  EXPECT_EQ(fake.appMessageBox("Failed", kMbOk, 7), kIdOk);
  ASSERT_EQ(fake.messageBoxes().size(), 3u);
  EXPECT_TRUE(fake.messageBoxes()[2].applicationBox);
  EXPECT_EQ(fake.messageBoxes()[2].caption, "");
  EXPECT_EQ(fake.messageBoxes()[2].helpContext, 7u);
}

TEST_F(Fake, ProgressBarStepsWrapPastTheTopAndPositionsClamp) {
  std::vector<std::intptr_t> previous;
  for (int i = 0; i < 10; ++i) previous.push_back(fake.sendMessage(kPbmStepIt, 0, 0));
  EXPECT_EQ(previous.back(), 99);
  EXPECT_EQ(fake.barPosition(), 0);  // 110 would pass 100
  EXPECT_EQ(fake.sendMessage(kPbmSetPos, 150, 0), 0);
  EXPECT_EQ(fake.barPosition(), 100);
  fake.sendMessage(kPbmSetRange, 0, 50 << 16);  // 0..50 pulls the position in
  EXPECT_EQ(fake.barPosition(), 50);
  fake.statusString = "Copy files...";
  fake.sleep(30);
  fake.refreshMainWindow();
  ASSERT_EQ(fake.refreshes().size(), 1u);
  EXPECT_EQ(fake.refreshes()[0].status, "Copy files...");
  EXPECT_EQ(fake.refreshes()[0].barPosition, 50);
  EXPECT_EQ(fake.refreshes()[0].atMs, 30u);
}

TEST_F(Fake, RestartSucceedsUnlessRefused) {
  EXPECT_TRUE(fake.exitWindowsEx(kEwxRebootForce, 0));
  EXPECT_TRUE(fake.restartRequested());
  FakePlatform refusing;
  refusing.setExitWindowsRefused(true);
  EXPECT_FALSE(refusing.exitWindowsEx(kEwxRebootForce, 0));
  EXPECT_FALSE(refusing.restartRequested());
}

struct DialogCase {
  DialogResult result;
  std::optional<int> chosen;
  int shown;
  int expected;
};

class OsDialog : public Fake, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(OsDialog, ConfirmsTheCheckedButtonOrTheChoice) {
  const DialogCase& c = GetParam();
  fake.scriptOsDialog(c.result, c.chosen);
  OsTypeDialog dialog{c.shown};
  EXPECT_EQ(fake.runModal(dialog), c.result);
  EXPECT_EQ(dialog.osIndex, c.expected);
  EXPECT_EQ(fake.osIndexShown(), c.shown);
  EXPECT_EQ(fake.osDialogRuns(), 1);
}

INSTANTIATE_TEST_SUITE_P(Results, OsDialog,
                         ::testing::Values(DialogCase{DialogResult::Ok, std::nullopt, 5, 5},
                                           DialogCase{DialogResult::Ok, std::nullopt, 7, 7},
                                           DialogCase{DialogResult::Ok, std::nullopt, 8, -1},
                                           DialogCase{DialogResult::Ok, 2, 5, 2},
                                           DialogCase{DialogResult::Cancel, 2, 9, 9},
                                           DialogCase{DialogResult::Error, 2, 5, 5}));

TEST_F(Fake, PortDialogOpensOnTheFirstOverwriteItem) {
  PortTypeDialog dialog;
  EXPECT_EQ(fake.runModal(dialog), DialogResult::Ok);
  EXPECT_EQ(dialog.portIndex, 4);
  EXPECT_EQ(dialog.overwriteIndex, 0);
  fake.scriptPortDialog(DialogResult::Ok, 1, 2);
  EXPECT_EQ(fake.runModal(dialog), DialogResult::Ok);
  EXPECT_EQ(dialog.portIndex, 1);
  EXPECT_EQ(dialog.overwriteIndex, 2);
  EXPECT_THAT(fake.callTexts("RunPortTypeDialog"),
              ElementsAre("RunPortTypeDialog(4, -1)", "RunPortTypeDialog(4, 0)"));
}

TEST_F(Fake, FilesOpenedForWritingAreWrittenAtTheirPosition) {
  constexpr Dword kGenericWrite = 0x40000000u, kOpenAlways = 4;
  fake.addFile("C:\\SETUP\\a.log", FakeFile{"abc"});
  const Handle file = fake.createFile("C:\\SETUP\\a.log", kGenericWrite, 3, kOpenAlways, 0x80);
  ASSERT_NE(file, kInvalidHandleValue);
  EXPECT_EQ(fake.getLastError(), kErrorAlreadyExists);  // OPEN_ALWAYS on an existing file
  Dword written = 0;
  EXPECT_TRUE(fake.writeFile(file, "X", 1, &written));  // from position 0
  EXPECT_EQ(fake.setFilePointer(file, 0, 2), 3u);       // FILE_END
  EXPECT_TRUE(fake.writeFile(file, "de", 2, &written));
  EXPECT_EQ(written, 2u);
  EXPECT_EQ(fake.setFilePointer(file, 2, 1), 7u);  // FILE_CURRENT, past the end
  EXPECT_TRUE(fake.writeFile(file, "!", 1, &written));
  EXPECT_EQ(fake.file("C:\\SETUP\\a.log")->contents, std::string("Xbcde\0\0!", 8));
  EXPECT_EQ(fake.setFilePointer(file, -9, 1), kInvalidSetFilePointer);
  EXPECT_EQ(fake.getLastError(), 131u);  // ERROR_NEGATIVE_SEEK
  EXPECT_TRUE(fake.closeHandle(file));
  EXPECT_FALSE(fake.writeFile(file, "late", 4, &written));
  EXPECT_EQ(fake.getLastError(), kErrorInvalidHandle);

  const Handle reading = fake.createFile("C:\\SETUP\\a.log", kGenericRead, 1, kOpenExisting, 0x80);
  EXPECT_FALSE(fake.writeFile(reading, "no", 2, &written));
  EXPECT_EQ(fake.getLastError(), kErrorAccessDenied);
  fake.closeHandle(reading);

  const Handle created = fake.createFile("C:\\SETUP\\new.log", kGenericWrite, 3, kOpenAlways, 0x80);
  EXPECT_EQ(fake.getLastError(), kErrorSuccess);
  EXPECT_EQ(fake.file("C:\\SETUP\\new.log")->contents, "");
  fake.closeHandle(created);
  EXPECT_EQ(fake.openHandles(), 0);
}

TEST_F(Fake, ProgramPathIsCutShortAsWindowsXpCutsIt) {
  fake.setProgramPath("C:\\SETUP\\A.EXE");
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(fake.getModuleFileName(buffer, sizeof buffer), 14u);
  EXPECT_STREQ(buffer, "C:\\SETUP\\A.EXE");
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(fake.getModuleFileName(buffer, 14), 14u);  // no room for the NUL
  EXPECT_EQ(fake.getLastError(), kErrorInsufficientBuffer);
  EXPECT_EQ(std::string(buffer, 15), "C:\\SETUP\\A.EXE#");
}

TEST_F(Fake, CurrentDirectoryMovesOnlyToAnExistingFolder) {
  fake.addDirectory("D:\\Pkg");
  EXPECT_FALSE(fake.setCurrentDirectory("D:\\Missing\\"));
  EXPECT_EQ(fake.getLastError(), kErrorFileNotFound);
  EXPECT_FALSE(fake.setCurrentDirectory("\\\\server\\share\\"));  // not modelled
  EXPECT_EQ(fake.currentDirectory(), "C:\\SETUP");
  EXPECT_TRUE(fake.setCurrentDirectory("D:\\Pkg\\"));
  EXPECT_EQ(fake.resolve("driver2k\\X.DLL"), "D:\\Pkg\\driver2k\\X.DLL");
  EXPECT_TRUE(fake.setCurrentDirectory(".."));
  EXPECT_EQ(fake.currentDirectory(), "D:\\");
}

}  // namespace
}  // namespace qlx::fake
