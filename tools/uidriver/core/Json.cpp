#include "core/Json.h"

namespace uidriver {

JsonObject jsonLine(long long timeMs, std::string_view event) {
  JsonObject line;
  line.number("t", timeMs).text("event", event);
  return line;
}

JsonObject& JsonObject::text(std::string_view key, std::string_view value) {
  json_.key(key).text(value);
  return *this;
}

JsonObject& JsonObject::number(std::string_view key, long long value) {
  json_.key(key).number(value);
  return *this;
}

JsonObject& JsonObject::flag(std::string_view key, bool value) {
  json_.key(key).flag(value);
  return *this;
}

JsonObject& JsonObject::null(std::string_view key) {
  json_.key(key).null();
  return *this;
}

JsonObject& JsonObject::numbers(std::string_view key, const std::vector<int>& values) {
  json_.key(key).numbers(std::vector<std::int64_t>(values.begin(), values.end()));
  return *this;
}

JsonObject& JsonObject::texts(std::string_view key, const std::vector<std::string>& values) {
  json_.key(key).texts(values);
  return *this;
}

JsonObject& JsonObject::object(std::string_view key, const JsonObject& value) {
  json_.key(key).raw(value.str());
  return *this;
}

// The object so far, closed; members may still be added after.
std::string JsonObject::str() const { return testjson::JsonWriter(json_).endObject().str(); }

}  // namespace uidriver
