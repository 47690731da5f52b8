#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "json/json_document.h"

namespace sp {
namespace {

std::vector<std::string> namesOf(JsonDocument& doc, const char* path = "") {
  TextArray names;
  doc.memberNames(names, path);
  std::vector<std::string> result;
  for (const Text& name : names.elements()) result.push_back(name.str());
  return result;
}

// Each case starts from a parsed document, runs one edit, and checks the report
// and the document's JSON afterwards. An object or a text of letters that an
// edit produces reads as false.
struct EditCase {
  const char* name;
  const char* start;
  bool (*edit)(JsonDocument&);
  bool reported;
  const char* json;
};

class EditingTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(EditingTest, ReportsTheValueItProducedAndChangesTheDocument) {
  const EditCase& c = GetParam();
  JsonDocument doc;
  ASSERT_TRUE(doc.parse(c.start));
  EXPECT_EQ(c.edit(doc), c.reported);
  EXPECT_EQ(doc.toJson().str(), c.json);
}

const EditCase kEdits[] = {
    {"PlainLettersReportFalseButAreSet", "{}",
     [](JsonDocument& d) { return d.setProperty("a", "letters"); }, false, R"({"a":"letters"})"},
    {"PlainNonZeroNumberReportsTrue", "{}",
     [](JsonDocument& d) { return d.setProperty("a", "12"); }, true, R"({"a":"12"})"},
    {"PlainTruthWordReportsTrue", "{}", [](JsonDocument& d) { return d.setProperty("a", "true"); },
     true, R"({"a":"true"})"},
    {"FullPathOfMissingMemberSetsNothing", "{}",
     [](JsonDocument& d) { return d.setProperty("da.a", "1"); }, false, "{}"},
    {"FullPathOfExistingMember", R"({"a":"x"})",
     [](JsonDocument& d) { return d.setProperty("da.a", "1"); }, true, R"({"a":"1"})"},
    {"ThroughMissingMemberChangesNothing", "{}",
     [](JsonDocument& d) { return d.setProperty("no.a", "1"); }, false, "{}"},
    {"ObjectOnMissingMemberIsAdded", "{}",
     [](JsonDocument& d) { return d.setProperty("o", "{\"k\": 1}", true); }, false,
     R"({"o":{"k":1}})"},
    {"ObjectOnObjectMemberIsMerged", R"({"o":{"k":1,"a":[1]}})",
     [](JsonDocument& d) { return d.setProperty("o", "{\"j\": 2, \"a\": [2]}", true); }, false,
     R"({"o":{"k":1,"a":[1,2],"j":2}})"},
    {"ObjectOnStringMemberReplacesIt", R"({"o":"s"})",
     [](JsonDocument& d) { return d.setProperty("o", "{\"j\": 2}", true); }, false,
     R"({"o":{"j":2}})"},
    {"EmptyValueOnObjectChangesNothing", R"({"o":{"k":1}})",
     [](JsonDocument& d) { return d.setProperty("o", "", true); }, false, R"({"o":{"k":1}})"},
    {"MergeMeetsNumberAndNullMembers", R"({"o":{"n":1,"z":null}})",
     [](JsonDocument& d) { return d.setProperty("o", "{\"n\": {\"x\": 1}, \"z\": [1]}", true); },
     false, R"({"o":{"n":{"x":1},"z":[1]}})"},
    {"ByExpression", "{}", [](JsonDocument& d) { return d.setByExpression("e", "[1, 2]"); }, false,
     R"({"e":[1,2]})"},
    {"ByExpressionRunsQuotedScript", "{}",
     [](JsonDocument& d) { return d.setByExpression("e", "'2 * 3'"); }, true, R"({"e":6})"},
    {"ArrayAddOnMissingPath", "{}", [](JsonDocument& d) { return d.arrayAdd("x", "arr"); }, true,
     R"({"arr":["x"]})"},
    {"ArrayAddReplacesAString", R"({"arr":"s"})",
     [](JsonDocument& d) { return d.arrayAdd("x", "arr"); }, true, R"({"arr":["x"]})"},
    {"ArrayAddAtFront", R"({"arr":[1]})",
     [](JsonDocument& d) { return d.arrayAdd("x", "arr", false, true); }, true,
     R"({"arr":["x",1]})"},
    {"ArrayAddWithApostropheFailsWholly", "{}",
     [](JsonDocument& d) { return d.arrayAdd("it's", "arr"); }, false, "{}"},
    {"ArrayAddRawObject", R"({"arr":[]})",
     [](JsonDocument& d) { return d.arrayAdd("{\"k\": 1}", "arr", true); }, true,
     R"({"arr":[{"k":1}]})"},
    {"ArraySetBeyondTheEnd", R"({"arr":[1]})",
     [](JsonDocument& d) { return d.arraySetItem(2, "arr", "x"); }, false,
     R"({"arr":[1,null,"x"]})"},
    {"ArraySetOnObjectMakesAMember", R"({"o":{}})",
     [](JsonDocument& d) { return d.arraySetItem(3, "o", "5", true); }, true, R"({"o":{"3":5}})"},
    {"ArrayRemoveFirst", R"({"arr":[1,2,3]})",
     [](JsonDocument& d) { return d.arrayRemoveItem(0, "arr"), true; }, true, R"({"arr":[2,3]})"},
    {"ArrayRemoveBeyondTheEnd", R"({"arr":[1,2,3]})",
     [](JsonDocument& d) { return d.arrayRemoveItem(5, "arr"), true; }, true, R"({"arr":[1,2,3]})"},
    {"DeleteMember", R"({"a":1,"b":2})", [](JsonDocument& d) { return d.deleteProperty("a"); },
     true, R"({"b":2})"},
    {"DeleteArrayElementLeavesAHole", R"({"arr":[1,2,3]})",
     [](JsonDocument& d) { return d.deleteProperty("arr[1]"); }, true, R"({"arr":[1,null,3]})"},
    {"DeleteRootChangesNothing", R"({"a":1})", [](JsonDocument& d) { return d.deleteProperty(""); },
     false, R"({"a":1})"},
    {"SetNumberThird", "{}", [](JsonDocument& d) { return d.setNumber("n", 1.0 / 3); }, true,
     R"({"n":0.3333333333333})"},
    {"SetNumberZeroReportsFalse", "{}", [](JsonDocument& d) { return d.setNumber("n", 0); }, false,
     R"({"n":0})"},
    {"SetNumberLarge", "{}", [](JsonDocument& d) { return d.setNumber("n", 1e21); }, true,
     R"({"n":1e+21})"},
    {"SetNumberInfinityChangesNothing", R"({"n":1})",
     [](JsonDocument& d) { return d.setNumber("n", 1.0 / 0.0); }, false, R"({"n":1})"},
    {"Clear", R"({"a":1})", [](JsonDocument& d) { return d.clear(), true; }, true, "{}"},
};

INSTANTIATE_TEST_SUITE_P(JsonDocument, EditingTest, ::testing::ValuesIn(kEdits),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JsonDocumentEditing, PlainTextSurvivesEscaping) {
  JsonDocument doc;
  const Text text = joinTexts(gbkFromUtf8("it's \"q\" a\\b\r\n\t歌"), "\x95\\");
  doc.setProperty("s", text);
  EXPECT_EQ(doc.getText("s"), text);
  EXPECT_EQ(utf8FromGbk(doc.toJson()), utf8FromGbk(Text(R"({"s":"it's \"q\" a\b\r\n\t)" +
                                                        gbkFromUtf8("歌").str() + "\x95\\\"}")));
}

TEST(JsonDocumentEditing, EmptyObjectValueOnMissingMemberAssignsUndefined) {
  JsonDocument doc;
  doc.setProperty("u", "", true);
  EXPECT_EQ(doc.toJson().str(), "{}");
  EXPECT_EQ(doc.kindOf("u"), 0);
  EXPECT_EQ(namesOf(doc), std::vector<std::string>{"u"});
}

TEST(JsonDocumentEditing, DeletedMemberLeavesTheNames) {
  JsonDocument doc;
  ASSERT_TRUE(doc.parse(R"({"a":1,"b":2})"));
  doc.deleteProperty("a");
  EXPECT_EQ(namesOf(doc), std::vector<std::string>{"b"});
}

TEST(JsonDocumentEditing, EmptyEngineChangesNothing) {
  JsonDocument doc;
  doc.destroy();
  EXPECT_FALSE(doc.setProperty("a", "1"));
  EXPECT_FALSE(doc.arrayAdd("1", "a"));
  EXPECT_FALSE(doc.setNumber("a", 5));
  EXPECT_EQ(doc.toJson().str(), "");
  EXPECT_EQ(doc.kindOf(), 0);
}

}  // namespace
}  // namespace sp
