// uidriver.exe: runs QLX957_Installer.exe through its windows for the tests
// (usage in core/Script.cpp). Runs in the installer's Wine prefix.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/Script.h"
#include "win32/Controls.h"
#include "win32/LogFile.h"
#include "win32/Session.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(uidriver::wideToUtf8(argv[i]));
  uidriver::ParsedScript parsed = uidriver::parseScript(arguments);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "uidriver: %s\n%s", parsed.error.c_str(), uidriver::usageText().c_str());
    return uidriver::kUsage;
  }
  uidriver::LogFile log;
  std::string error;
  if (!log.open(uidriver::utf8ToWide(parsed.script.logFile), error)) {
    std::fprintf(stderr, "uidriver: %s: %s\n", parsed.script.logFile.c_str(), error.c_str());
    return uidriver::kNoStart;
  }
  int status = uidriver::Session(parsed.script, arguments, log).run();
  if (log.failed()) std::fprintf(stderr, "uidriver: writing the log failed\n");
  if (status != uidriver::kRan)
    std::fprintf(stderr, "uidriver: the script did not run to its end (status %d), see %s\n",
                 status, parsed.script.logFile.c_str());
  return log.failed() && status == uidriver::kRan ? uidriver::kNoStart : status;
}
