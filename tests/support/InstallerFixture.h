#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/Families.h"
#include "engine/Installation.h"
#include "engine/ModelNames.h"
#include "engine/Reporter.h"
#include "engine/RunSettings.h"
#include "fake/FakePlatform.h"

namespace qlx::testing_support {

enum class Family { Win2000, WinNt, Win9x };

inline const char* familyName(Family family) {
  switch (family) {
    case Family::Win2000:
      return "Win2000Family";
    case Family::WinNt:
      return "WinNtFamily";
    case Family::Win9x:
      return "Win9x";
  }
  return "?";
}

inline const std::vector<std::string>& packageFiles(Family family) {
  static const std::vector<std::string> win2000 = {
      "QLMON957.DLL", "QLPRO957.DLL", "UNIDRV.DLL",  "UNIDRVUI.DLL", "UNIDRV.HLP",  "UNIRES.DLL",
      "QLX957E.DLL",  "QLUI957.DLL",  "QLUI957.INI", "QLX957E.GPD",  "STDNAMES.GPD"};
  static const std::vector<std::string> winNt = {"QLMON957.DLL", "QLPRO957.DLL", "RASDD.DLL",
                                                 "RASDDUI.DLL",  "RASDDUI.HLP",  "QLX957E.DLL",
                                                 "QLUI957.DLL"};
  static const std::vector<std::string> win9x = {
      "QLMON957.DLL", "usbmon.dll",  "QLPRO957.DLL", "dmcolor.dll", "iconlib.dll",
      "vantrix.dll",  "QLX957E.DRV", "merlowe.dll",  "unidrv.dll",  "unidrv.hlp"};
  switch (family) {
    case Family::Win2000:
      return win2000;
    case Family::WinNt:
      return winNt;
    case Family::Win9x:
      return win9x;
  }
  return win2000;
}

inline const char* sourceFolder(Family family) {
  switch (family) {
    case Family::Win2000:
      return "C:\\SETUP\\driver2k\\";
    case Family::WinNt:
      return "C:\\SETUP\\driverNT\\";
    case Family::Win9x:
      return "C:\\SETUP\\driver9x\\";
  }
  return "";
}

inline const std::vector<std::string>& uninstallerFiles() {
  static const std::vector<std::string> files = {"QLX957_Uninstaller.exe", "Uninstall_2k.dll",
                                                 "Uninstall_98.dll"};
  return files;
}

// Every package folder and the uninstaller files beside the program.
inline void addDriverPackage(fake::FakePlatform& machine) {
  for (Family family : {Family::Win2000, Family::WinNt, Family::Win9x}) {
    for (const std::string& name : packageFiles(family)) {
      machine.addFile(sourceFolder(family) + name, fake::FakeFile{"package " + name});
    }
  }
  for (const std::string& name : uninstallerFiles()) {
    machine.addFile("C:\\SETUP\\" + name, fake::FakeFile{"uninstaller " + name});
  }
}

inline constexpr char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DALVERA_QLX-957";

// The entry as an installation writes it: the key with the values the
// uninstaller is found by.
inline void addUninstallEntry(fake::FakePlatform& machine) {
  const auto text = [](const std::string& value) {
    return fake::RegistryValue{
        kRegSz, std::vector<std::uint8_t>(value.c_str(), value.c_str() + value.size() + 1)};
  };
  machine.addRegistryKey(
      kUninstallKey, {{"DisplayName", text("DALVERA QLX-957 POS Windows Driver 3.1.1E")},
                      {"UninstallString", text("C:\\WINDOWS\\QLX-957\\QLX957_Uninstaller.exe")}});
}

// What a complete installation of the family leaves on the machine, as the
// spooler and the file system hold it: the libraries the spooler loaded, the
// driver naming its monitor, the uninstall entry and its folder.
inline void addCompleteInstallation(fake::FakePlatform& machine, Family family) {
  const bool win9x = family == Family::Win9x;
  const std::string environment = win9x ? "Windows 4.0" : "Windows NT x86";
  const std::string processorDirectory =
      win9x ? "C:\\WINDOWS\\SYSTEM" : "C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86";
  machine.addInstalledMonitor("DALVERA Language Monitor QLX957", "QLMON957.DLL");
  machine.addFile(processorDirectory + "\\QLPRO957.DLL");
  machine.addPrintProcessor(nullptr, environment.c_str(), "QLPRO957.DLL",
                            "DALVERA PRINT PROCESSOR QLX957");
  DriverInfo3 driver{};
  driver.pName = "DALVERA QLX-957";
  driver.pEnvironment = environment.c_str();
  driver.pMonitorName = "DALVERA Language Monitor QLX957";
  machine.addInstalledDriver(driver);
  addUninstallEntry(machine);
  for (const std::string& name : uninstallerFiles()) {
    machine.addFile("C:\\WINDOWS\\QLX-957\\" + name, fake::FakeFile{"uninstaller " + name});
  }
}

// A fake machine of one family with the whole driver package beside the
// program, the model's names and the run's settings as the flow makes them,
// and the fake progress window.
class Installation {
 public:
  void prepare(Family family, bool withPrintProcessor = true) {
    family_ = family;
    switch (family) {
      case Family::Win2000:
        fake.setVersion(2, 5, 2);
        break;
      case Family::WinNt:
        fake.setVersion(2, 5, 1);
        break;
      case Family::Win9x:
        fake.useWindows9xLayout();
        break;
    }
    for (const std::string& name : packageFiles(family)) {
      fake.addFile(sourceFolder(family) + name, fake::FakeFile{"package " + name});
    }
    for (const std::string& name : uninstallerFiles()) {
      fake.addFile("C:\\SETUP\\" + name, fake::FakeFile{"uninstaller " + name});
    }
    names = configureModel("957", 'E', withPrintProcessor, family == Family::Win9x);
    settings = RunSettings{};
    fake.clearCalls();
  }

  // The program started once more on the same machine.
  void startAgain() {
    settings = RunSettings{};
    fake.clearCalls();
  }

  const FamilySettings& family() const {
    switch (family_) {
      case Family::Win2000:
        return kWin2000Family;
      case Family::WinNt:
        return kWinNtFamily;
      case Family::Win9x:
        return kWin9xFamily;
    }
    return kWinNtFamily;
  }
  InstallationContents contents() const { return family().contents(names); }

  // One run of the installation, as the flow starts it; `last` keeps what it did.
  InstallResult install(PortCode port = kPortLpt1) {
    settings.port = port;
    Reporter reporter(fake.platform(), settings, {&fake.statusString, &fake});
    last = runInstallation(fake.platform(), reporter, settings, family(), contents());
    return last.result;
  }

  // A driver of that name alone, as another program or a failed run leaves it.
  void preinstallDriver(const std::string& name = "DALVERA QLX-957") {
    fake.addInstalledDriver(name, environment());
    fake.clearCalls();
  }

  // Everything an earlier installation of this family placed: driver,
  // monitor, print processor, uninstall entry and uninstaller files; no printer.
  void preinstallInstallation() {
    addCompleteInstallation(fake, family_);
    fake.clearCalls();
  }

  const char* environment() const {
    return family_ == Family::Win9x ? "Windows 4.0" : "Windows NT x86";
  }

  std::vector<std::pair<std::string, int>> statusTrail() const {
    std::vector<std::pair<std::string, int>> trail;
    for (const fake::Refresh& refresh : fake.refreshes()) {
      trail.emplace_back(refresh.status, refresh.barPosition);
    }
    return trail;
  }

  std::vector<std::string> messageTexts() const {
    std::vector<std::string> texts;
    for (const fake::MessageBoxRecord& box : fake.messageBoxes()) texts.push_back(box.text);
    return texts;
  }

  std::vector<std::string> callsNamed(const std::string& name) const {
    return fake.callTexts(name);
  }

  // The last call of the run but the clearing of its record, which ends every run.
  std::string lastCall() const {
    const auto& calls = fake.calls();
    auto last = calls.end();
    while (last != calls.begin() && (last - 1)->name == "RegDeleteKeyA") --last;
    return last == calls.begin() ? std::string() : (last - 1)->name;
  }

  std::string driverDirectory() const {
    return family_ == Family::Win9x ? "C:\\WINDOWS\\SYSTEM"
                                    : "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86";
  }
  std::string systemDirectory() const {
    return family_ == Family::Win9x ? "C:\\WINDOWS\\SYSTEM" : "C:\\WINDOWS\\system32";
  }
  std::string processorDirectory() const {
    return family_ == Family::Win9x ? "C:\\WINDOWS\\SYSTEM"
                                    : "C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86";
  }

  // Every directory an installation of the family writes to.
  std::vector<std::string> installedDirectories() const {
    return {systemDirectory(), processorDirectory(), driverDirectory(), driverDirectory() + "\\3",
            "C:\\WINDOWS\\QLX-957"};
  }

  fake::FakePlatform fake;
  ModelNames names;
  RunSettings settings;
  InstallOutcome last;
  Family family_ = Family::WinNt;
};

class InstallerTest : public ::testing::Test, public Installation {};

inline std::string multiString(std::initializer_list<const char*> names) {
  std::string bytes;
  for (const char* name : names) {
    bytes += name;
    bytes += '\0';
  }
  bytes += '\0';
  return bytes;
}

}  // namespace qlx::testing_support
