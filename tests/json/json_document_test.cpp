#include "json/json_document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sp {
namespace {

std::vector<std::string> elementsOf(const TextArray& array) {
  std::vector<std::string> result;
  for (const Text& element : array.elements()) result.push_back(element.str());
  return result;
}

// A document parsed from a JSON text; the text is GBK.
class JsonDocumentTest : public ::testing::Test {
 protected:
  void load(const std::string& utf8Json) { ASSERT_TRUE(doc.parse(gbkFromUtf8(utf8Json))); }
  JsonDocument doc;
};

TEST_F(JsonDocumentTest, FreshDocumentIsAnEmptyObjectNamedDa) {
  EXPECT_EQ(doc.name().str(), "da");
  EXPECT_EQ(doc.toJson().str(), "{}");
  EXPECT_EQ(doc.memberCount(), 0);
  EXPECT_EQ(doc.kindOf(), static_cast<int32_t>(JsonKind::Object));
  EXPECT_EQ(doc.engineObject().evalNumber("str_Code.charCodeAt(0)"), 9216);
}

TEST_F(JsonDocumentTest, PathRule) {
  load(R"({"list": [{"name": "a"}], "data": 1, "nul": null})");
  const struct {
    const char* path;
    const char* resolved;
    bool exists;
  } cases[] = {
      {"", "da", true},
      {"list", "da.list", true},
      {"[0]", "da[0]", false},
      {"list[0].name", "da.list[0].name", true},
      {"da.list", "da.list", true},            // a full path of an existing value stays
      {"da.missing", "da.da.missing", false},  // a full path of a missing one is prefixed again
      {"da.nul", "da.da.nul", false},
      {"data", "da.data", true},  // shares only its first letters with the name
      {"missing.deeper", "da.missing.deeper", false},
  };
  for (const auto& c : cases) {
    Text path = c.path;
    EXPECT_EQ(doc.resolvePath(path), c.exists) << c.path;
    EXPECT_EQ(path.str(), c.resolved) << c.path;
    EXPECT_EQ(doc.exists(c.path), c.exists) << c.path;
  }
  EXPECT_TRUE(doc.parse("[5]"));
  EXPECT_EQ(doc.getNumber("[0]"), 5);
}

TEST_F(JsonDocumentTest, ParseSuccessAndFailure) {
  const struct {
    const char* text;
    bool noEval;
    bool parsed;
    JsonKind rootKind;
  } cases[] = {
      {R"({"a": 1})", false, true, JsonKind::Object},
      {"[1, 2]", false, true, JsonKind::Array},
      {R"({"a": 1})", true, true, JsonKind::Object},
      {R"({"a": )", false, false, JsonKind::Absent},
      {"null", false, false, JsonKind::Absent},
      {"", false, false, JsonKind::Absent},
      {"undefinedThing", false, false, JsonKind::Absent},
      {"12", false, true, JsonKind::Number},
      {R"("1 + 2")", false, true, JsonKind::Number},  // a quoted string runs as script
      {R"("1 + 2")", true, true, JsonKind::String},   // unless the eval step is skipped
  };
  for (const auto& c : cases) {
    EXPECT_EQ(doc.parse(c.text, c.noEval), c.parsed) << c.text;
    EXPECT_EQ(doc.kindOf(), static_cast<int32_t>(c.rootKind)) << c.text;
  }
}

TEST_F(JsonDocumentTest, ParseFillsTheErrorRecordOnlyWhenGiven) {
  ScriptError error;
  error.description = "stale";
  EXPECT_FALSE(doc.parse("{\"a\": 1,\n\"b\": }", false, &error));
  EXPECT_NE(error.number, 0);
  EXPECT_EQ(error.source.str(), "SyntaxError");
  EXPECT_FALSE(error.description.empty());
  EXPECT_NE(error.description.str(), "stale");
  EXPECT_EQ(error.line, 2);
  EXPECT_EQ(error.text.str(), "\"b\": })");
  EXPECT_TRUE(doc.parse("{}", false, &error));
  EXPECT_EQ(error.number, 0);
  EXPECT_TRUE(error.description.empty());
}

TEST_F(JsonDocumentTest, ParseStartsAFreshEngine) {
  doc.engineObject().evalIgnore("var extra = 1");
  JsonDocument* const self = &doc;
  auto shared = self->copy();
  load(R"({"a": 1})");
  EXPECT_EQ(doc.engineObject().evalText("typeof extra").str(), "undefined");
  EXPECT_EQ(shared->toJson().str(), "{}");  // the copy keeps the old engine
}

TEST_F(JsonDocumentTest, KindCodes) {
  load(R"({"b": true, "n": 1.5, "o": {}, "a": [], "s": "x", "z": null})");
  doc.engineObject().evalIgnore("da.d = new Date(0); da.f = function () {}");
  const struct {
    const char* path;
    JsonKind kind;
  } cases[] = {
      {"b", JsonKind::Boolean},      {"n", JsonKind::Number},        {"o", JsonKind::Object},
      {"a", JsonKind::Array},        {"s", JsonKind::String},        {"z", JsonKind::Absent},
      {"missing", JsonKind::Absent}, {"missing.x", JsonKind::Other}, {"d", JsonKind::Other},
      {"f", JsonKind::Other},        {"", JsonKind::Object},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(doc.kindOf(c.path), static_cast<int32_t>(c.kind)) << c.path;
  }
}

TEST_F(JsonDocumentTest, TextsOfValues) {
  load(R"({"n": 12.5, "a": ["x", "y"], "o": {"k": 1}, "s": "歌名", "b": false, "z": null,
           "nums": [7, "t"]})");
  const struct {
    const char* path;
    bool asJson;
    const char* text;  // UTF-8
  } cases[] = {
      {"n", false, "12.5"},   {"a", false, "x,y"},       {"o", false, "[object Object]"},
      {"s", false, "歌名"},   {"b", false, "false"},     {"z", false, ""},
      {"missing", false, ""}, {"o", true, R"({"k":1})"}, {"s", true, R"("歌名")"},
      {"missing", true, ""},  {"", true, nullptr},
  };
  for (const auto& c : cases) {
    if (c.text == nullptr) continue;
    EXPECT_EQ(utf8FromGbk(doc.getText(c.path, c.asJson)), c.text) << c.path;
  }
  EXPECT_EQ(doc.getJson("a").str(), R"(["x","y"])");
  EXPECT_EQ(doc.getNumber("n"), 12.5);
  EXPECT_EQ(doc.getNumber("b"), 0);
  // arrayItemText applies no string conversion: only strings come back.
  const struct {
    int32_t index;
    bool asJson;
    const char* text;
  } items[] = {{0, false, ""}, {1, false, "t"}, {0, true, "7"}, {1, true, "\"t\""}, {2, false, ""}};
  for (const auto& item : items) {
    EXPECT_EQ(doc.arrayItemText(item.index, "nums", item.asJson).str(), item.text) << item.index;
  }
  EXPECT_EQ(doc.getText("nums[0]").str(), "7");
}

TEST_F(JsonDocumentTest, ObjectsHaveNamesArraysHaveCounts) {
  load(R"({"obj": {"x": 1, "y": {"z": 2}, "w": ""}, "arr": [1, 2, 3], "s": "abc"})");
  const struct {
    const char* path;
    std::vector<std::string> names;
    int32_t count;
  } cases[] = {
      {"obj", {"x", "y", "w"}, 0},  {"arr", {}, 3}, {"s", {}, 0}, {"missing", {}, 0},
      {"", {"obj", "arr", "s"}, 0},
  };
  for (const auto& c : cases) {
    TextArray names(std::vector<Text>{"stale"});
    EXPECT_EQ(doc.memberNames(names, c.path), static_cast<int32_t>(c.names.size())) << c.path;
    EXPECT_EQ(elementsOf(names), c.names) << c.path;
    EXPECT_EQ(doc.memberCount(c.path), c.count) << c.path;
  }
}

TEST_F(JsonDocumentTest, NodeValuesInMemberOrder) {
  load(R"({"n": 1, "o": {"s": "in"}, "b": true, "a": [2, "", 3.5]})");
  const struct {
    const char* path;
    bool recursive;
    std::vector<std::string> values;
  } cases[] = {
      {"", false, {"1", "true"}},
      {"", true, {"1", "in", "true", "2", "", "3.5"}},
      {"a", false, {"2", "", "3.5"}},
      {"o.s", false, {"i", "n"}},  // a string is walked character by character
      {"missing", false, {}},
  };
  for (const auto& c : cases) {
    TextArray values(std::vector<Text>{"stale"});
    EXPECT_EQ(doc.nodeValues(values, c.path, c.recursive), static_cast<int32_t>(c.values.size()))
        << c.path;
    EXPECT_EQ(elementsOf(values), c.values) << c.path;
  }
}

TEST_F(JsonDocumentTest, NodeValuesLoseATrailingEmptyValue) {
  load(R"({"a": ["x", ""], "b": [""], "c": ["", "y"]})");
  const struct {
    const char* path;
    std::vector<std::string> values;
  } cases[] = {{"a", {"x"}}, {"b", {}}, {"c", {"", "y"}}};
  for (const auto& c : cases) {
    TextArray values;
    EXPECT_EQ(doc.nodeValues(values, c.path), static_cast<int32_t>(c.values.size())) << c.path;
    EXPECT_EQ(elementsOf(values), c.values) << c.path;
  }
}

TEST_F(JsonDocumentTest, GetDocumentCopiesThroughJson) {
  load(
      R"({"list": [{"name": "一", "singer": "甲"}, {"name": "二", "singer": "乙"}], "s": "1 + 2"})");
  auto list = doc.getDocument("list");
  ASSERT_TRUE(list);
  EXPECT_EQ(list->memberCount(), 2);
  EXPECT_EQ(utf8FromGbk(list->getText("[1].singer")), "乙");
  list->setProperty("[0].name", "changed");
  EXPECT_EQ(utf8FromGbk(doc.getText("list[0].name")), "一");

  auto item = doc.arrayItemDocument(1, "list");
  EXPECT_EQ(utf8FromGbk(item->getText("name")), "二");
  auto missing = doc.getDocument("missing");
  EXPECT_EQ(missing->kindOf(), static_cast<int32_t>(JsonKind::Absent));
  EXPECT_EQ(missing->toJson().str(), "");
  auto script = doc.getDocument("s");  // a string's content runs as script
  EXPECT_EQ(script->getNumber(), 3);
}

TEST_F(JsonDocumentTest, CopySharesTheEngine) {
  auto other = doc.copy();
  other->setProperty("k", "v");
  EXPECT_EQ(doc.getText("k").str(), "v");
  other->destroy();
  EXPECT_EQ(doc.getText("k").str(), "v");
  EXPECT_EQ(other->getText("k").str(), "");
  EXPECT_FALSE(other->parse("{}"));
}

TEST_F(JsonDocumentTest, BackslashPlaceholderRoundTrip) {
  doc.setProperty("p", "a\\b");
  EXPECT_EQ(doc.getText("p").str(), "a\\b");
  EXPECT_EQ(doc.toJson().str(), R"({"p":"a\b"})");  // single, not doubled
  EXPECT_EQ(doc.getJson("p").str(), R"("a\b")");
  TextArray values;
  EXPECT_EQ(doc.nodeValues(values), 1);
  EXPECT_EQ(elementsOf(values), std::vector<std::string>{"a?b"});  // the placeholder is no GBK
  // In the copy the backslash is read as a script escape: "\b" is a backspace.
  auto copy = doc.getDocument();
  EXPECT_EQ(copy->getText("p").str(), "a\b");  // 'a' and a backspace
}

TEST(JsonDocument, SearchAnswerReadsAsTheSearchReadsIt) {
  std::string answer = R"({"code": 200, "list": [)";
  for (int k = 0; k < 30; ++k) {
    if (k > 0) answer += ",";
    answer +=
        R"({"name": "歌)" + std::to_string(k) + R"(", "singer": "手)" + std::to_string(k) + "\"}";
  }
  answer += "]}";
  JsonDocument songList;
  ASSERT_TRUE(songList.parse(gbkFromUtf8(answer)));
  auto list = songList.getDocument("list");
  const int32_t count = list->memberCount();
  list->destroy();
  ASSERT_EQ(count, 30);
  for (int k = 0; k < count; ++k) {
    const std::string index = std::to_string(k);
    EXPECT_EQ(utf8FromGbk(songList.getText(Text("list[" + index + "].name"))), "歌" + index);
    EXPECT_EQ(utf8FromGbk(songList.getText(Text("list[" + index + "].singer"))), "手" + index);
  }
}

TEST(JsonDocument, HostileTextsParseWithoutCrashing) {
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  const std::string deepObject = std::string(100000, '{') + std::string(100000, '}');
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"deep array", deep},
      {"deep object", deepObject},
      {"huge allocation", "new ArrayBuffer(1e9)"},
      {"runaway concatenation", "\"var s = 'x'; while (true) s += s\""},
  };
  JsonDocument doc;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptError error;
    EXPECT_FALSE(doc.parse(Text(c.text), false, &error));
    EXPECT_NE(error.number, 0);
    EXPECT_EQ(doc.kindOf(), 0);
    EXPECT_TRUE(doc.parse(R"({"ok": 1})"));
    EXPECT_EQ(doc.getNumber("ok"), 1);
  }
}

}  // namespace
}  // namespace sp
