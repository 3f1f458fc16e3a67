#include "engine/PackageCheck.h"

#include <string>
#include <vector>

#include "engine/FilePlacement.h"
#include "engine/InstallLog.h"
#include "engine/InstallTexts.h"
#include "engine/InstallationContents.h"
#include "engine/Reporter.h"

namespace qlx {

bool checkPackage(Platform& platform, Reporter& reporter, const InstallationContents& contents) {
  Kernel& kernel = platform.kernel;
  const std::vector<std::string> wanted = contents.sourcePaths();
  std::string missing;
  for (const std::string& path : wanted) {
    Dword code = kErrorSuccess;
    if (isFile(kernel, path, &code)) continue;
    missing += join({"\n", path});
    // A file that is there but cannot be reached says why.
    if (code != kErrorSuccess && code != kErrorFileNotFound && code != kErrorPathNotFound) {
      const std::string reason = withoutLineEnd(systemMessageText(kernel, code));
      missing += join({" (error ", std::to_string(code), reason.empty() ? "" : ": ", reason, ")"});
    }
  }
  if (missing.empty()) {
    reporter.line(join({"Package: all ", std::to_string(wanted.size()), " files are there"}));
    return true;
  }
  reporter.problem(join({text::kPackageIncomplete, missing, "\n\n", text::kNothingInstalled}));
  return false;
}

}  // namespace qlx
