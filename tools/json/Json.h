// The one JSON writer of the test tools: members and elements are written in
// the order given, either indented two blanks a level (a document) or on one
// line (a log line).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace testjson {

// `text` as UTF-8: bytes from 0x80 on are passed through unchanged.
std::string jsonUtf8(std::string_view text);
// The bytes of an ANSI string: every byte stands for the code point of the
// same value, so a reader gets the exact bytes back (Python:
// text.encode("latin-1")) whatever the code page was.
std::string jsonBytes(std::string_view bytes);

enum class Layout { Indented, OneLine };
enum class Strings { Utf8, Bytes };

class JsonWriter {
 public:
  explicit JsonWriter(Layout layout = Layout::Indented, Strings strings = Strings::Bytes)
      : layout_(layout), strings_(strings) {}

  JsonWriter& beginObject();
  JsonWriter& endObject();
  JsonWriter& beginArray();
  JsonWriter& endArray();
  // Names the next member of the current object.
  JsonWriter& key(std::string_view name);

  JsonWriter& text(std::string_view value);
  // A C string of the Windows structures: null for a null pointer.
  JsonWriter& text(const char* valueOrNull);
  JsonWriter& number(std::int64_t value);
  JsonWriter& flag(bool value);
  JsonWriter& null();
  JsonWriter& texts(const std::vector<std::string>& values);
  JsonWriter& numbers(const std::vector<std::int64_t>& values);
  // A value that is already JSON, such as another writer's complete document.
  JsonWriter& raw(std::string_view json);

  // The document; complete once every container has been closed.
  const std::string& str() const { return out_; }
  bool complete() const { return open_.empty() && !out_.empty(); }

 private:
  struct Level {
    bool object;
    bool empty;
  };
  std::string quoted(std::string_view value) const;
  void beforeValue();
  JsonWriter& close(char bracket);
  void newline();

  Layout layout_;
  Strings strings_;
  std::string out_;
  std::vector<Level> open_;
  bool afterKey_ = false;
};

}  // namespace testjson
