#pragma once

#include <string>
#include <vector>

#include "engine/InstallationSurvey.h"

namespace qlx {

// What a removal finds before it changes anything: the installation's parts
// that are there, the printers that use the driver and the product's own
// files on disk.
struct RemovalPlan {
  InstallationSurvey survey;
  bool printersListed = false;
  std::vector<std::string> printers;
  std::vector<std::string> files;  // full paths of the product's own files that are there
  bool uninstallerFolder = false;

  bool nothing() const {
    return !survey.driver && survey.registeredMonitors.empty() && !survey.processorRegistered &&
           !survey.uninstallEntry && !uninstallerFolder && printers.empty() && files.empty();
  }
};

// How a removal ended: everything gone, gone once Windows starts again (a
// library the spooler holds), or something could not be removed (shown and
// logged; the rest was removed all the same).
enum class RemovalOutcome { Removed, RestartNeeded, Incomplete };

}  // namespace qlx
