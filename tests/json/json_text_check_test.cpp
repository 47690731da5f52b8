#include "json/json_text_check.h"

#include <gtest/gtest.h>

#include <string>

#include "json/json_document.h"

namespace sp {
namespace {

TEST(JsonTextCheck, AcceptsOnlyObjectOrArrayRoots) {
  const struct {
    std::string text;
    bool accepted;
  } cases[] = {
      {"{}", true},
      {"[]", true},
      {" \r\n\t{ \"a\" : [1, -2.5e+3, 0, true, false, null, \"x\"] } \n", true},
      {R"({"list":[{"name":"a\"b\\c\/d\u00e9\n"}],"code":200})", true},
      {"[{}, [], [[]], {\"\": {}}]", true},
      {"\"just a string\"", false},
      {"12", false},
      {"null", false},
      {"", false},
      {"   ", false},
      {"{", false},
      {"[1,]", false},
      {"{\"a\":1,}", false},
      {"{\"a\" 1}", false},
      {"{a: 1}", false},
      {"['x']", false},
      {"[01]", false},
      {"[1.]", false},
      {"[.5]", false},
      {"[+1]", false},
      {"[1e]", false},
      {"[tru]", false},
      {"[\"\\x41\"]", false},
      {"[\"\\u12\"]", false},
      {"[\"tab\tinside\"]", false},
      {"[1] [2]", false},
      {"{}x", false},
      {"[1]]", false},
      {"[}", false},
      {"[alert(1)]", false},
      {"(function () { return [] })()", false},
      {"[1, 2].concat(alert(1))", false},
      {"/* c */ []", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(isJsonContainerText(Text(c.text)), c.accepted) << c.text;
  }
}

TEST(JsonTextCheck, GbkCharactersAreStringContent) {
  const struct {
    std::string text;
    bool accepted;
  } cases[] = {
      {gbkFromUtf8(R"({"name":"歌名"})").str(), true},
      // 0x95 0x5C is one character whose second byte is the backslash byte.
      {"[\"\x95\\\"]", true},
      {"[\"\x95\\\\\"]", false},  // ...so the next backslash escapes the quote
      // A lead byte before a quote is a character of its own: the quote ends the string.
      {"[\"\x81\"]", true},
      {"[\"\x81\",alert(1),\"\x81\"]", false},
      {"[\x95\\]", false},  // outside a string the bytes are no JSON at all
  };
  for (const auto& c : cases) {
    EXPECT_EQ(isJsonContainerText(Text(c.text)), c.accepted) << c.text;
  }
}

// The checker reads strings as the engine does after conversion: each accepted
// text holds, in the engine, exactly the one string the checker saw.
TEST(JsonTextCheck, AgreesWithTheEngineOnStringBoundaries) {
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (const int next : {0x22, 0x5C, 0x5D, 0x40, 0x7F}) {
      const std::string text =
          std::string("[\"") + static_cast<char>(lead) + static_cast<char>(next) + "\"]";
      if (!isJsonContainerText(Text(text))) continue;
      JsonDocument doc;
      ASSERT_TRUE(doc.parse(Text(text), true)) << lead << ' ' << next;
      EXPECT_EQ(doc.memberCount(), 1) << lead << ' ' << next;
      EXPECT_EQ(doc.kindOf("[0]"), static_cast<int32_t>(JsonKind::String)) << lead << ' ' << next;
    }
  }
}

TEST(JsonTextCheck, DeepNestingNeedsNoStack) {
  const std::size_t depth = 100000;
  EXPECT_TRUE(isJsonContainerText(Text(std::string(depth, '[') + std::string(depth, ']'))));
  std::string objects;
  for (std::size_t i = 0; i < depth; ++i) objects += "{\"a\":";
  objects += "1" + std::string(depth, '}');
  EXPECT_TRUE(isJsonContainerText(Text(objects)));
  EXPECT_FALSE(isJsonContainerText(Text(std::string(depth, '[') + std::string(depth - 1, ']'))));
}

}  // namespace
}  // namespace sp
