// One run: start the installer, follow its windows until it ends, answer
// them by the script, and sum up.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/Layout.h"
#include "core/Script.h"
#include "win32/Controls.h"
#include "win32/Installer.h"
#include "win32/Recorder.h"

namespace uidriver {

enum ExitStatus { kRan = 0, kUsage = 2, kNoStart = 3, kTimedOut = 4, kAnswerFailed = 5 };

class Session {
 public:
  Session(const Script& script, std::vector<std::string> arguments, LogFile& log);
  int run();

 private:
  struct Tracked {
    WindowKind kind;
    std::string caption;
    long long seenMs;
    bool handled;
  };

  bool start();
  void poll();
  void handle(HWND hwnd, Tracked& window);
  void followProgress();
  int finish(const std::string& result, std::optional<DWORD> exitCode);

  const Script& script_;
  std::vector<std::string> arguments_;
  Recorder recorder_;
  Installer installer_;
  std::optional<PositionReader> positions_;
  std::map<HWND, Tracked> windows_;
  HWND progress_ = nullptr;
  std::optional<std::pair<std::string, std::optional<int>>> lastProgress_;
  long long launchMs_ = 0;
  std::optional<long long> firstDialogMs_;
  std::optional<long long> progressWindowMs_;
  bool ended_ = false;  // ended by the script (--end-at)
  std::vector<std::string> problems_;
};

}  // namespace uidriver
