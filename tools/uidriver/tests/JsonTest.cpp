#include <gtest/gtest.h>

#include "core/Json.h"

namespace uidriver {
namespace {

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
  EXPECT_EQ(JsonObject().text("s", "caf\xC3\xA9").str(), "{\"s\":\"caf\xC3\xA9\"}");
}

}  // namespace
}  // namespace uidriver
