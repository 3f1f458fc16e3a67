#include <gtest/gtest.h>

#include "core/Json.h"

namespace uidriver {
namespace {

TEST(JsonString, EscapesWhatJsonRequires) {
  EXPECT_EQ(jsonString("Check drivers...\r\n"), R"("Check drivers...\r\n")");
  EXPECT_EQ(jsonString("a\"b\\c\td"), R"("a\"b\\c\td")");
  EXPECT_EQ(jsonString(std::string("\x01\x1f", 2)), R"("\u0001\u001f")");
  EXPECT_EQ(jsonString("AddPrinter Error Code: 87\n\nThe parameter is incorrect."),
            R"("AddPrinter Error Code: 87\n\nThe parameter is incorrect.")");
  EXPECT_EQ(jsonString("caf\xC3\xA9"), "\"caf\xC3\xA9\"");  // UTF-8 stays as it is
}

TEST(JsonLine, WritesMembersInOrderAfterTimeAndEvent) {
  JsonObject combo;
  combo.texts("items", {"Always overwrite"}).number("selection", 0);
  std::string line = jsonLine(1234, "dialog")
                         .text("kind", "port")
                         .flag("read", true)
                         .numbers("checked", {1007})
                         .numbers("none", {})
                         .null("position")
                         .number("code", -1)
                         .object("combo", combo)
                         .str();
  EXPECT_EQ(line, R"({"t":1234,"event":"dialog","kind":"port","read":true,"checked":[1007],)"
                  R"("none":[],"position":null,"code":-1,)"
                  R"("combo":{"items":["Always overwrite"],"selection":0}})");
  EXPECT_EQ(JsonObject().str(), "{}");
}

}  // namespace
}  // namespace uidriver
