#include "core/Json.h"

namespace prefixstate {

std::string jsonBytes(std::string_view bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
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
      default:
        if (byte < 0x20 || byte >= 0x7F) {
          out += "\\u00";
          out += kHex[byte >> 4];
          out += kHex[byte & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out + '"';
}

void JsonWriter::newline() {
  out_ += '\n';
  out_.append(2 * open_.size(), ' ');
}

void JsonWriter::beforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (open_.empty()) return;
  if (!open_.back().empty) out_ += ',';
  open_.back().empty = false;
  newline();
}

JsonWriter& JsonWriter::key(std::string_view name) {
  beforeValue();
  out_ += jsonBytes(name);
  out_ += ": ";
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::beginObject() {
  beforeValue();
  out_ += '{';
  open_.push_back({true, true});
  return *this;
}

JsonWriter& JsonWriter::beginArray() {
  beforeValue();
  out_ += '[';
  open_.push_back({false, true});
  return *this;
}

JsonWriter& JsonWriter::close(char bracket) {
  const bool empty = open_.back().empty;
  open_.pop_back();
  if (!empty) newline();
  out_ += bracket;
  if (open_.empty()) out_ += '\n';
  return *this;
}

JsonWriter& JsonWriter::endObject() { return close('}'); }
JsonWriter& JsonWriter::endArray() { return close(']'); }

JsonWriter& JsonWriter::text(std::string_view bytes) {
  beforeValue();
  out_ += jsonBytes(bytes);
  return *this;
}

JsonWriter& JsonWriter::text(const char* bytesOrNull) {
  return bytesOrNull ? text(std::string_view(bytesOrNull)) : null();
}

JsonWriter& JsonWriter::number(std::int64_t value) {
  beforeValue();
  out_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::flag(bool value) {
  beforeValue();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::null() {
  beforeValue();
  out_ += "null";
  return *this;
}

JsonWriter& JsonWriter::texts(const std::vector<std::string>& values) {
  beginArray();
  for (const std::string& value : values) text(value);
  return endArray();
}

JsonWriter& JsonWriter::numbers(const std::vector<std::int64_t>& values) {
  beginArray();
  for (std::int64_t value : values) number(value);
  return endArray();
}

}  // namespace prefixstate
