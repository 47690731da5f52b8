#include "json/support_script.h"

#include <gtest/gtest.h>

#include <string>

#include "json/json_document.h"
#include "json/script_engine.h"

namespace sp {
namespace {

TEST(SupportScript, IsOneLineOfPlainAscii) {
  const std::string_view script = supportScript();
  ASSERT_FALSE(script.empty());
  for (const char c : script) {
    ASSERT_TRUE(c >= 0x20 && c <= 0x7E) << "byte " << static_cast<int>(c);
  }
  EXPECT_FALSE(supportScriptBytecode().empty());
}

// An engine with the script loaded as text, and an empty str_all, as the document has.
class SupportScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(engine.create());
    engine.addCode(Text(supportScript()));
    ASSERT_EQ(engine.lastError().number, 0) << engine.lastError().description.str();
    engine.evalIgnore("var str_all = new Array()");
  }
  Text run(const char* expression) { return engine.evalText(expression); }
  ScriptEngine engine;
};

TEST_F(SupportScriptTest, HelperFunctions) {
  const struct {
    const char* expression;
    const char* expected;
  } cases[] = {
      {"String(get__count([1, 2, 3]))", "3"},
      {"String(get__count({a: 1, b: 2}))", "0"},
      {"String(get__count('abc'))", "0"},
      {"String(get__count(null))", "0"},
      {"get__name_All({n: 1, f: function () {}, s: 'x'})", "n\r\ns"},
      {"JSON.stringify(get__name_All([1, 2]))", "\"\""},
      {"JSON.stringify(get__name_All(null))", "\"\""},
      {"get__nodeValue({s: 'a', n: [1, 2], b: true}, false).join('|')", "a|true"},
      {"str_all = []; get__nodeValue({s: 'a', n: [1, 2], b: true}, true).join('|')", "a|1|2|true"},
      {"str_all = []; get__nodeValue({f: function () {}, d: new Date(0), z: null}, true).length",
       "0"},
      {"str_all = ['kept']; get__nodeValue([4], false).join('|')", "kept|4"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run(c.expression).str(), c.expected) << c.expression;
  }
}

TEST_F(SupportScriptTest, ExtendMerges) {
  const struct {
    const char* target;
    const char* source;
    const char* merged;
  } cases[] = {
      // A string member is replaced even by an object; arrays are appended to.
      {"{a: 's', b: [1]}", "{a: {x: 1}, b: [2, 3], c: true}",
       "{\"a\":{\"x\":1},\"b\":[1,2,3],\"c\":true}"},
      {"[1]", "[2, 3]", "[1,2,3]"},
      {"[1]", "{x: 2}", "[1]"},
      {"[1]", "null", "[1]"},
      {"{o: {p: 1, q: 2}}", "{o: {q: 3, r: 4}}", "{\"o\":{\"p\":1,\"q\":3,\"r\":4}}"},
      {"{b: false}", "{b: [1]}", "{\"b\":[1]}"},
      // Numbers and nulls are replaced like the other plain values.
      {"{n: 1, z: null}", "{n: {x: 1}, z: {y: 2}}", "{\"n\":{\"x\":1},\"z\":{\"y\":2}}"},
      {"{n: 1, m: 'k'}", "{n: 5, m: 6}", "{\"n\":5,\"m\":6}"},
      {"{f: 1}", "{}", "{\"f\":1}"},
  };
  for (const auto& c : cases) {
    const std::string expression =
        std::string("JSON.stringify(get__extend(") + c.target + ", " + c.source + "))";
    EXPECT_EQ(run(expression.c_str()).str(), c.merged) << expression;
  }
  // A function member of the target stays.
  EXPECT_EQ(run("typeof get__extend({f: function () {}}, {f: 1}).f").str(), "function");
}

TEST_F(SupportScriptTest, FallbackJsonIsInstalledOnlyWhereMissing) {
  EXPECT_EQ(run("String(JSON.stringify(1, 5))").str(), "1");  // the engine's own
  engine.evalIgnore("delete JSON");
  ASSERT_EQ(run("typeof JSON").str(), "undefined");
  engine.addCode(Text(supportScript()));
  ASSERT_EQ(engine.lastError().number, 0) << engine.lastError().description.str();

  const struct {
    const char* expression;
    const char* expected;
  } cases[] = {
      {"JSON.stringify('a\\tb')", "\"a\\tb\""},
      {"JSON.stringify('\\u2028')", "\"\\u2028\""},
      {"JSON.stringify('\\b\\f\\n\\r\"\\\\')", "\"\\b\\f\\n\\r\\\"\\\\\""},
      {"JSON.stringify('\\x01\\x7f\\u00ad\\u200c\\ufeff\\uffff')",
       "\"\\u0001\\u007f\\u00ad\\u200c\\ufeff\\uffff\""},
      {"String(JSON.stringify(String.fromCharCode(9216)).charCodeAt(1))", "9216"},
      {"JSON.stringify({a: [1, 'x', null, undefined, function () {}], u: undefined, n: NaN})",
       "{\"a\":[1,\"x\",null,null,null],\"n\":null}"},
      {"JSON.stringify({a: 1, b: 2}, ['b'])", "{\"b\":2}"},
      {"JSON.stringify({a: 1, b: 2}, function (k, v) { return k == 'a' ? undefined : v })",
       "{\"b\":2}"},
      {"JSON.stringify([1, {b: 2}], null, 1)", "[\n 1,\n {\n  \"b\": 2\n }\n]"},
      {"JSON.stringify({d: new Date(Date.UTC(2020, 6, 20, 20, 0, 0))})",
       "{\"d\":\"2020-07-20T20:00:00.000Z\"}"},
      {"(function () { try { JSON.stringify(1, 5) } catch (e) { return e.message } })()",
       "JSON.stringify"},
      {"JSON.stringify(JSON.parse(' {\"a\": [1, -2.5e1, true, null, \"\\\\u0041\"]} '))",
       "{\"a\":[1,-25,true,null,\"A\"]}"},
      {"(function () { try { JSON.parse('alert(1)') } catch (e) { return e.name + ' ' + "
       "e.message } })()",
       "SyntaxError JSON.parse"},
      {"JSON.stringify(JSON.parse('{\"a\":1,\"b\":{\"c\":2}}', function (k, v) { return k == "
       "'c' ? undefined : v }))",
       "{\"a\":1,\"b\":{}}"},
      {"String(JSON.parse('\"\\u2028\"').charCodeAt(0))", "8232"},
      {"({x: 1}).toJSONString()", "{\"x\":1}"},
      {"String('[5]'.parseJSON()[0])", "5"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run(c.expression).str(), c.expected) << c.expression;
  }
}

}  // namespace
}  // namespace sp
