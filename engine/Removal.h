#pragma once

#include <string>
#include <vector>

#include "engine/InstallationContents.h"
#include "engine/InstallationSurvey.h"
#include "engine/OsKind.h"
#include "platform/Platform.h"

namespace qlx {

// A file of the product's own that a removal deletes, with the place that
// tells which registration it belongs to.
struct RemovalFile {
  std::string path;
  Place place;
};

// What a removal finds before it changes anything: what the installation
// of that platform places, the parts of it that are there, the printers
// that use the driver and the product's own files on disk.
struct RemovalPlan {
  InstallationContents contents;
  InstallationSurvey survey;
  bool printersListed = false;  // false: the removal must not start (shown)
  std::vector<std::string> printers;
  std::vector<RemovalFile> files;  // the product's own files that are there
  // Why the print processor stays for others: printers of other drivers
  // that use it, or a printer list that cannot be read.
  std::vector<std::string> otherProcessorUsers;
  bool uninstallerFolder = false;

  bool nothing() const {
    return !survey.driver && survey.registeredMonitors.empty() && !survey.processorRegistered &&
           !survey.uninstallEntryKey && !uninstallerFolder && printers.empty() && files.empty();
  }
};

// How a removal ended: everything gone, gone once Windows starts again (a
// library the spooler holds), or something stayed (shown and logged): then
// whatever depends on it stayed too, and a later removal completes it.
enum class RemovalOutcome { Removed, RestartNeeded, Incomplete };

struct RemovalResult {
  RemovalOutcome outcome = RemovalOutcome::Incomplete;
  bool restartRequested = false;
};

struct FamilySettings;
struct RunSettings;
class Reporter;

// What is there to remove; nothing is changed.
RemovalPlan planRemoval(Platform& platform, Reporter& reporter, const FamilySettings& family,
                        InstallationContents contents);
// Away with it, in the reverse order of installing.
RemovalResult removeInstallation(Platform& platform, Reporter& reporter,
                                 const RunSettings& settings, const FamilySettings& family,
                                 const RemovalPlan& plan);

}  // namespace qlx
