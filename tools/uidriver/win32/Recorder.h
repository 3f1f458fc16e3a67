// Stamps log lines with the time since the driver started and writes them.
#pragma once

#include <string_view>

#include "core/Json.h"
#include "win32/Clock.h"
#include "win32/LogFile.h"

namespace uidriver {

class Recorder {
 public:
  explicit Recorder(LogFile& log) : log_(log) {}
  long long now() const { return clock_.ms(); }
  JsonObject line(std::string_view event) const { return jsonLine(now(), event); }
  void write(const JsonObject& line) { log_.write(line.str()); }

 private:
  LogFile& log_;
  Clock clock_;
};

}  // namespace uidriver
