// A streaming JSON writer for the prefix report: members are written in the
// order given, nested containers are indented two blanks a level.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace prefixstate {

// The bytes of an ANSI string as a quoted JSON string. Every byte stands for
// the code point of the same value, so a reader gets the exact bytes back
// (Python: text.encode("latin-1")) whatever the code page was.
std::string jsonBytes(std::string_view bytes);

class JsonWriter {
 public:
  JsonWriter& beginObject();
  JsonWriter& endObject();
  JsonWriter& beginArray();
  JsonWriter& endArray();
  // Names the next member of the current object.
  JsonWriter& key(std::string_view name);

  JsonWriter& text(std::string_view bytes);
  // A C string of the Windows structures: null for a null pointer.
  JsonWriter& text(const char* bytesOrNull);
  JsonWriter& number(std::int64_t value);
  JsonWriter& flag(bool value);
  JsonWriter& null();
  JsonWriter& texts(const std::vector<std::string>& values);
  JsonWriter& numbers(const std::vector<std::int64_t>& values);

  // The document; complete once every container has been closed.
  const std::string& str() const { return out_; }
  bool complete() const { return open_.empty() && !out_.empty(); }

 private:
  struct Level {
    bool object;
    bool empty;
  };
  void beforeValue();
  JsonWriter& close(char bracket);
  void newline();

  std::string out_;
  std::vector<Level> open_;
  bool afterKey_ = false;
};

}  // namespace prefixstate
