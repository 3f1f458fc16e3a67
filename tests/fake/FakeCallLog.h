#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FakePlatform.h"

namespace qlx::fake::detail {

bool isFailable(std::string_view callName);

// The ordered record of platform calls and the faults armed against them.
// Occurrences and indices count from construction or the last clear(), so
// that a test can measure and fail exactly the calls of the part it runs;
// armed faults stay armed across a clear.
class CallLog {
 public:
  void record(std::string name, std::vector<std::string> args);
  // Records and counts a failable call; the error when a fault hits it.
  std::optional<Dword> recordFailable(std::string name, std::vector<std::string> args);

  void failCall(const std::string& name, Dword error, int occurrence);
  void failNth(std::size_t index, Dword error);
  void clearFaults() {
    byOccurrence_.clear();
    byIndex_.clear();
  }
  std::size_t failableCount() const { return failable_; }
  // Failable calls of `name` made since the last clear().
  int occurrences(const std::string& name) const {
    const auto made = made_.find(name);
    return made == made_.end() ? 0 : made->second;
  }

  const std::vector<Call>& calls() const { return calls_; }
  // The power goes after `calls` more calls: the next one throws PowerCut.
  void cutPowerAfter(std::size_t calls) { callsBeforeCut_ = calls; }
  bool powerCutDue() const { return callsBeforeCut_ && *callsBeforeCut_ == 0; }
  // Whether the power went since the last ask.
  bool takePowerLoss() { return std::exchange(powerLost_, false); }
  // Occurrences and failable indices count again from here.
  void clear() {
    calls_.clear();
    failable_ = 0;
    made_.clear();
  }

 private:
  std::vector<Call> calls_;
  std::map<std::string, int, std::less<>> made_;  // failable calls so far, by name
  std::map<std::pair<std::string, int>, Dword> byOccurrence_;
  std::map<std::size_t, Dword> byIndex_;
  std::size_t failable_ = 0;
  std::optional<std::size_t> callsBeforeCut_;
  bool powerLost_ = false;
};

// Arguments as text, the way Call describes them.
namespace arg {
std::string text(const char* string);      // the string, or "null"
std::string buffer(const void* pointer);   // "buffer" or "null"
std::string flag(bool value);              // "0" or "1"
std::string handle(std::uintptr_t value);  // signed decimal: the pseudo handle reads -1
std::string key(HKey value);               // "HKLM" or the handle
template <typename Number>
std::string number(Number value) {
  return std::to_string(value);
}
}  // namespace arg

}  // namespace qlx::fake::detail
