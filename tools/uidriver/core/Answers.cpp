#include "core/Answers.h"

#include <algorithm>

#include "core/Layout.h"

namespace uidriver {

int boxButton(const Script& script, std::string_view caption, const std::vector<int>& buttons) {
  auto has = [&](int id) { return std::find(buttons.begin(), buttons.end(), id) != buttons.end(); };
  bool question =
      caption == kRestartCaption || (has(kYesButton) && has(kNoButton) && !has(kOkButton));
  if (question) {
    int wanted = script.restartYes ? kYesButton : kNoButton;
    return has(wanted) ? wanted : 0;
  }
  if (has(kOkButton)) return kOkButton;
  if (has(kCancelButton)) return kCancelButton;
  return 0;
}

bool endsAt(const Script& script, std::string_view shown) {
  while (!shown.empty() && (shown.back() == '\r' || shown.back() == '\n')) shown.remove_suffix(1);
  return !script.endAtStatus.empty() && shown == script.endAtStatus;
}

}  // namespace uidriver
