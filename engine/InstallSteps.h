#pragma once

#include <string>

#include "engine/FilePlacement.h"
#include "engine/InstallationContents.h"
#include "engine/InstallationSurvey.h"
#include "engine/OsKind.h"
#include "platform/Platform.h"

namespace qlx {

struct DirectoryBuffer;
class Reporter;
class RestartSchedule;

// The steps the installation and the update share, each reading what it
// places from the contents. Those that place files return false when one
// could not be placed (shown); `directory` is left holding the last
// directory asked for, which the clean-up may reuse.

// The monitors to the system directory, the print processor to its own,
// where the spooler loads them; a copy there newer than the package's
// stays, and so does one the spooler holds unless the package's is newer.
bool stageMonitorAndProcessor(Platform& platform, Reporter& reporter,
                              const InstallationContents& contents,
                              const InstallationSurvey& survey, RestartSchedule& schedule,
                              DirectoryBuffer& directory);
// Every file for the printer-driver directory but those under the policy.
bool copyDriverFiles(Platform& platform, Reporter& reporter, const InstallationContents& contents,
                     RestartSchedule& schedule, DirectoryBuffer& directory);
// Windows 9x's unidrv.dll and its help, as the overwrite policy allows.
// `helpFirst`: a run cut short between the two leaves unidrv.dll to be
// judged again, with its help following it.
bool copyUniversalDriverFiles(Platform& platform, Reporter& reporter, OverwriteMode overwrite,
                              RestartSchedule& schedule, const DirectoryBuffer& driverDirectory,
                              bool helpFirst = false);
// A monitor or processor registered by an earlier, failed run is there
// already: no failure. False when the spooler refuses a required one (shown):
// the installation is then incomplete.
bool registerMonitors(Platform& platform, Reporter& reporter, const InstallationContents& contents);
bool registerPrintProcessor(Platform& platform, Reporter& reporter,
                            const InstallationContents& contents);
bool addPrinterDriver(Platform& platform, Reporter& reporter, const InstallationContents& contents);
// What the spooler no longer needs in the printer-driver directory.
void cleanUpStaging(Platform& platform, Reporter& reporter, const InstallationContents& contents,
                    const DirectoryBuffer& directory);
// The directory files of `place` are copied into, logged; its failure is shown.
bool queryCopyTarget(Platform& platform, Reporter& reporter, Place place,
                     DirectoryBuffer& directory);
// One file to its target, unless the copy there is newer than the
// package's by the rule of packageIsNewer; a failure is shown.
Placement placeUnlessNewer(Platform& platform, Reporter& reporter, RestartSchedule& schedule,
                           const std::string& source, const std::string& target);
// One file to its target; a failure is shown.
Placement placeShown(Platform& platform, Reporter& reporter, RestartSchedule& schedule,
                     const std::string& source, const std::string& target,
                     bool keepExisting = false, const std::string& reason = {});
// What runs cut short left beside the installed files; once the
// installation is complete (`complete`), also the staged files an
// interrupted update left in the printer-driver directory.
void clearLeftovers(Platform& platform, Reporter& reporter, const InstallationContents& contents,
                    bool complete, RestartSchedule& schedule);

}  // namespace qlx
