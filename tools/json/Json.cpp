#include "json/Json.h"

namespace testjson {
namespace {

std::string escaped(std::string_view text, bool bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (char c : text) {
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
        if (byte < 0x20 || (bytes && byte >= 0x7F)) {
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

}  // namespace

std::string jsonUtf8(std::string_view text) { return escaped(text, false); }
std::string jsonBytes(std::string_view bytes) { return escaped(bytes, true); }

std::string JsonWriter::quoted(std::string_view value) const {
  return escaped(value, strings_ == Strings::Bytes);
}

void JsonWriter::newline() {
  if (layout_ == Layout::OneLine) return;
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
  out_ += quoted(name);
  out_ += layout_ == Layout::OneLine ? ":" : ": ";
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
  if (open_.empty() && layout_ == Layout::Indented) out_ += '\n';
  return *this;
}

JsonWriter& JsonWriter::endObject() { return close('}'); }
JsonWriter& JsonWriter::endArray() { return close(']'); }

JsonWriter& JsonWriter::text(std::string_view value) {
  beforeValue();
  out_ += quoted(value);
  return *this;
}

JsonWriter& JsonWriter::text(const char* valueOrNull) {
  return valueOrNull ? text(std::string_view(valueOrNull)) : null();
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

JsonWriter& JsonWriter::raw(std::string_view json) {
  beforeValue();
  out_ += json;
  return *this;
}

}  // namespace testjson
