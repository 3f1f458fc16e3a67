// JSON objects built member by member in the order written; one per log line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace uidriver {

// `text` is UTF-8; the result is the quoted, escaped JSON string.
std::string jsonString(std::string_view text);

class JsonObject {
 public:
  JsonObject& text(std::string_view key, std::string_view value);
  JsonObject& number(std::string_view key, long long value);
  JsonObject& flag(std::string_view key, bool value);
  JsonObject& null(std::string_view key);
  JsonObject& numbers(std::string_view key, const std::vector<int>& values);
  JsonObject& texts(std::string_view key, const std::vector<std::string>& values);
  JsonObject& object(std::string_view key, const JsonObject& value);

  std::string str() const { return (body_.empty() ? "{" : body_) + "}"; }

 private:
  JsonObject& member(std::string_view key, std::string_view json);
  std::string body_;
};

// A log line: the time in ms since the start and the event's name first.
JsonObject jsonLine(long long timeMs, std::string_view event);

}  // namespace uidriver
