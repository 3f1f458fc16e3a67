#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace qlx {

// What of an installation is on the machine. The spooler lists (monitors,
// print processors, printers) may be missing on old systems; what cannot be
// read counts as not there, which leads an installation to complete the
// rest rather than to take it as done.
struct InstallationSurvey {
  bool driverListed = false;  // the driver list could be read
  Dword listError = kErrorSuccess;
  bool driver = false;
  // The installed driver's files, as the spooler lists them (full paths).
  std::vector<std::string> driverFiles;
  // Those every other driver lists: a removal leaves them.
  std::vector<std::string> otherDriversFiles;
  bool monitors = false;                        // every required language monitor is registered
  std::vector<std::string> registeredMonitors;  // those of the installation that are
  bool processor = false;                       // registered, or the model has none
  bool processorRegistered = false;
  bool uninstallEntry = false;     // with the values the uninstaller is found by
  bool uninstallEntryKey = false;  // the key, complete or not
  bool uninstallerFiles = false;   // all of them, in the uninstaller's folder

  // Only then does a run add one more printer and nothing else.
  bool complete() const {
    return driver && monitors && processor && uninstallEntry && uninstallerFiles;
  }
};

struct FamilySettings;
struct InstallationContents;
class Reporter;

// What of the installation the contents describe is there. Nothing changes;
// a driver list that cannot be read is shown (`driverListed` false).
InstallationSurvey surveyInstallation(Platform& platform, Reporter& reporter,
                                      const FamilySettings& family,
                                      const InstallationContents& contents);
// The printers that use the driver `driverName`; nothing, the failure
// shown, when the spooler cannot list them: then nobody can tell whether a
// printer would be added twice or removed unseen, and the run stops.
std::optional<std::vector<std::string>> printersUsingDriver(Platform& platform, Reporter& reporter,
                                                            const std::string& driverName);
// The printers whose print processor is `processorName`, whatever their
// driver; nothing (logged) when they cannot be listed.
std::optional<std::vector<std::string>> printersUsingProcessor(Platform& platform,
                                                               Reporter& reporter,
                                                               const std::string& processorName);
// The ports the spooler lists (EnumPortsA); nothing, the failure shown,
// when it cannot.
std::optional<std::vector<std::string>> listPorts(Platform& platform, Reporter& reporter);

}  // namespace qlx
