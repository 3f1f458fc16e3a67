#include <gtest/gtest.h>

#include <string>

#include "json/Json.h"

namespace testjson {
namespace {

// Reads a string that jsonBytes wrote back into bytes, each \u00XX one byte.
std::string decode(const std::string& json) {
  std::string bytes;
  for (std::size_t i = 1; i + 1 < json.size(); ++i) {
    if (json[i] != '\\') {
      bytes += json[i];
      continue;
    }
    const char escape = json[++i];
    if (escape == 'u') {
      bytes += static_cast<char>(std::stoi(json.substr(i + 1, 4), nullptr, 16));
      i += 4;
    } else {
      bytes += escape == 'n' ? '\n' : escape == 'r' ? '\r' : escape == 't' ? '\t' : escape;
    }
  }
  return bytes;
}

TEST(JsonBytes, EveryByteComesBackAndTheTextStaysPrintableAscii) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  const std::string json = jsonBytes(all);
  for (char c : json) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << static_cast<int>(c);
  EXPECT_EQ(json.front(), '"');
  EXPECT_EQ(json.back(), '"');
  EXPECT_EQ(decode(json), all);
}

TEST(JsonBytes, StoredRegistryStringKeepsItsTerminatingZero) {
  EXPECT_EQ(jsonBytes(std::string("C:\\windows\0", 11)), R"("C:\\windows\u0000")");
  EXPECT_EQ(jsonBytes(std::string(1, '\0')), R"("\u0000")");
  EXPECT_EQ(jsonBytes("File not found.\r\n"), R"("File not found.\r\n")");
  EXPECT_EQ(jsonBytes("\xE9"), R"("\u00e9")");  // an ANSI byte, not taken as UTF-8
}

TEST(JsonWriter, NestsWithCommasOnlyBetweenMembers) {
  JsonWriter json;
  json.beginObject().key("tool").text("prefixstate").key("printers").beginObject();
  json.key("ok").flag(true).key("items").beginArray();
  json.beginObject().key("pComment").text(nullptr).key("Status").number(128).endObject();
  json.beginObject().endObject();
  json.endArray().endObject();
  json.key("empty").beginArray().endArray();
  json.key("version").numbers({4, 0, 2, 5}).key("files").texts({"a.dll"});
  EXPECT_FALSE(json.complete());
  json.endObject();
  EXPECT_TRUE(json.complete());
  EXPECT_EQ(json.str(), R"({
  "tool": "prefixstate",
  "printers": {
    "ok": true,
    "items": [
      {
        "pComment": null,
        "Status": 128
      },
      {}
    ]
  },
  "empty": [],
  "version": [
    4,
    0,
    2,
    5
  ],
  "files": [
    "a.dll"
  ]
}
)");
}

TEST(JsonUtf8, EscapesWhatJsonRequiresAndKeepsUtf8) {
  EXPECT_EQ(jsonUtf8("Check drivers...\r\n"), R"("Check drivers...\r\n")");
  EXPECT_EQ(jsonUtf8("a\"b\\c\td"), R"("a\"b\\c\td")");
  EXPECT_EQ(jsonUtf8(std::string("\x01\x1f", 2)), R"("\u0001\u001f")");
  EXPECT_EQ(jsonUtf8("caf\xC3\xA9"), "\"caf\xC3\xA9\"");
}

TEST(JsonWriter, OneLineLayoutForLogLines) {
  JsonWriter inner(Layout::OneLine, Strings::Utf8);
  inner.beginObject().key("items").texts({"Always overwrite"}).key("selection").number(0);
  inner.endObject();
  JsonWriter line(Layout::OneLine, Strings::Utf8);
  line.beginObject().key("t").number(5).key("status").text("Copy files...\r\n");
  line.key("none").numbers({}).key("combo").raw(inner.str()).endObject();
  EXPECT_EQ(line.str(), R"({"t":5,"status":"Copy files...\r\n","none":[],)"
                        R"("combo":{"items":["Always overwrite"],"selection":0}})");
}

TEST(JsonWriter, DwordValuesStayUnsigned) {
  JsonWriter json;
  json.beginArray().number(0xFFFFFFFFu).number(0x20000957u).endArray();
  EXPECT_EQ(json.str(), "[\n  4294967295,\n  536873303\n]\n");
}

}  // namespace
}  // namespace testjson
