#include "core/Json.h"

namespace uidriver {

std::string jsonString(std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      default:
        if (byte < 0x20) {
          out += "\\u00";
          out += kHex[byte >> 4];
          out += kHex[byte & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

JsonObject jsonLine(long long timeMs, std::string_view event) {
  JsonObject line;
  line.number("t", timeMs).text("event", event);
  return line;
}

JsonObject& JsonObject::member(std::string_view key, std::string_view json) {
  body_ += body_.empty() ? '{' : ',';
  body_ += jsonString(key);
  body_ += ':';
  body_ += json;
  return *this;
}

JsonObject& JsonObject::text(std::string_view key, std::string_view value) {
  return member(key, jsonString(value));
}

JsonObject& JsonObject::number(std::string_view key, long long value) {
  return member(key, std::to_string(value));
}

JsonObject& JsonObject::flag(std::string_view key, bool value) {
  return member(key, value ? "true" : "false");
}

JsonObject& JsonObject::null(std::string_view key) { return member(key, "null"); }

JsonObject& JsonObject::numbers(std::string_view key, const std::vector<int>& values) {
  std::string json = "[";
  for (std::size_t i = 0; i < values.size(); ++i)
    json += (i ? "," : "") + std::to_string(values[i]);
  return member(key, json + "]");
}

JsonObject& JsonObject::texts(std::string_view key, const std::vector<std::string>& values) {
  std::string json = "[";
  for (std::size_t i = 0; i < values.size(); ++i) json += (i ? "," : "") + jsonString(values[i]);
  return member(key, json + "]");
}

JsonObject& JsonObject::object(std::string_view key, const JsonObject& value) {
  return member(key, value.str());
}

}  // namespace uidriver
