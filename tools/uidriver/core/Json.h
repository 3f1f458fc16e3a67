// Log lines: one JSON object each, built member by member in the order
// written, on the tools' shared writer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "json/Json.h"

namespace uidriver {

class JsonObject {
 public:
  JsonObject() { json_.beginObject(); }
  JsonObject& text(std::string_view key, std::string_view value);  // UTF-8
  JsonObject& number(std::string_view key, long long value);
  JsonObject& flag(std::string_view key, bool value);
  JsonObject& null(std::string_view key);
  JsonObject& numbers(std::string_view key, const std::vector<int>& values);
  JsonObject& texts(std::string_view key, const std::vector<std::string>& values);
  JsonObject& object(std::string_view key, const JsonObject& value);

  std::string str() const;

 private:
  testjson::JsonWriter json_{testjson::Layout::OneLine, testjson::Strings::Utf8};
};

// A log line: the time in ms since the start and the event's name first.
JsonObject jsonLine(long long timeMs, std::string_view event);

}  // namespace uidriver
