#include "json/script_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "json/script_heap.h"

namespace sp {
namespace {

class ScriptEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(engine.create()); }
  ScriptEngine engine;
};

TEST_F(ScriptEngineTest, TruthValues) {
  const struct {
    const char* expression;
    bool expected;
  } cases[] = {
      {"true", true},
      {"false", false},
      {"1", true},
      {"0", false},
      {"-0.5", true},
      {"0/0", true},  // NaN is not 0
      {"undefined", false},
      {"null", false},
      {"'1'", true},
      {"'0'", false},
      {"' 2.5 '", true},
      {"'true'", true},
      {"'True'", true},
      {"'false'", false},
      {"'abc'", false},
      {"''", false},
      {"'0x10'", false},
      {"[]", false},
      {"[7]", true},
      {"({})", false},
      {"new Boolean(false)", false},
      {"throw 1", false},
      {"syntax error here", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(engine.evalBool(c.expression), c.expected) << c.expression;
  }
}

TEST_F(ScriptEngineTest, Numbers) {
  const struct {
    const char* expression;
    double expected;
  } cases[] = {
      {"12.5", 12.5}, {"true", -1},       {"false", 0}, {"undefined", 0}, {"null", 0},
      {"'42'", 42},   {"' -1e2 '", -100}, {"'4x'", 0},  {"'true'", 0},    {"[3]", 3},
      {"({})", 0},    {"throw 2", 0},     {"1 +", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(engine.evalNumber(c.expression), c.expected) << c.expression;
  }
  EXPECT_TRUE(std::isnan(engine.evalNumber("0/0")));
}

TEST_F(ScriptEngineTest, TextsCrossAsGbk) {
  const struct {
    std::string expression;
    std::string expected;
  } cases[] = {
      {"'abc'", "abc"},
      {gbkFromUtf8("'歌名' + '歌手'").str(), gbkFromUtf8("歌名歌手").str()},
      {gbkFromUtf8("'搜索'.length").str(), "2"},
      {"String.fromCharCode(0x6B4C)", gbkFromUtf8("歌").str()},
      {"String.fromCharCode(0x263A)", "?"},          // no such character in GBK
      {"String.fromCharCode(0xD83D, 0xDE00)", "?"},  // a surrogate pair made inside
      {"undefined", ""},
      {"null", ""},
      {"12.5", "12.5"},
      {"throw new Error('x')", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(engine.evalText(c.expression).str(), c.expected) << c.expression;
  }
}

TEST_F(ScriptEngineTest, DeclarationsBecomeLastingGlobals) {
  engine.addCode("var a = 1; function twice(x) { return 2 * x }");
  EXPECT_EQ(engine.evalNumber("twice(a)"), 2);
  engine.evalIgnore("var b = 5");
  EXPECT_EQ(engine.evalNumber("b"), 5);
  EXPECT_FALSE(engine.evalBool("delete b"));
  EXPECT_EQ(engine.evalNumber("b"), 5);
  EXPECT_FALSE(engine.evalBool("delete a"));
  EXPECT_EQ(engine.evalNumber("var c = 3; c + 1"), 4);  // the last statement's value
  EXPECT_EQ(engine.evalNumber("if (c) { 7 } else { 8 }"), 7);
}

TEST_F(ScriptEngineTest, LastErrorDescribesTheFailureAndClearsOnSuccess) {
  EXPECT_FALSE(engine.evalBool("\n\nda a b"));
  EngineError error = engine.lastError();
  EXPECT_NE(error.number, 0);
  EXPECT_EQ(error.source.str(), "SyntaxError");
  EXPECT_NE(error.description.str().find("line 3"), std::string::npos) << error.description.str();
  EXPECT_EQ(error.line, 3);
  EXPECT_EQ(error.text.str(), "da a b");

  EXPECT_EQ(engine.evalText("var o = {}; o.a.b"), Text());
  error = engine.lastError();
  EXPECT_EQ(error.source.str(), "TypeError");
  EXPECT_EQ(error.line, 1);
  EXPECT_EQ(error.text.str(), "var o = {}; o.a.b");

  EXPECT_EQ(engine.evalNumber("throw 'plain'"), 0);
  error = engine.lastError();
  EXPECT_NE(error.number, 0);
  EXPECT_EQ(error.description.str(), "plain");

  EXPECT_EQ(engine.evalNumber("1"), 1);
  error = engine.lastError();
  EXPECT_EQ(error.number, 0);
  EXPECT_TRUE(error.description.empty());
  EXPECT_EQ(error.line, 0);
}

TEST_F(ScriptEngineTest, ErrorThrownWhileDescribingItselfStillCounts) {
  EXPECT_FALSE(engine.evalBool("throw { toString: function () { throw 1 } }"));
  EXPECT_NE(engine.lastError().number, 0);
  EXPECT_EQ(engine.evalNumber("2"), 2);
}

TEST(ScriptEngine, EmptyReferenceGivesEmptyResults) {
  ScriptEngine empty;
  EXPECT_TRUE(empty.isEmpty());
  empty.addCode("var x = 1");
  EXPECT_FALSE(empty.evalBool("true"));
  EXPECT_EQ(empty.evalText("'a'"), Text());
  EXPECT_EQ(empty.evalNumber("3"), 0);
  EXPECT_EQ(empty.lastError().number, 0);
  EXPECT_TRUE(empty.share().isEmpty());
}

TEST(ScriptEngine, SharedReferencesSeeOneEngineUntilTheLastIsReleased) {
  ScriptEngine first;
  ASSERT_TRUE(first.create());
  ScriptEngine second = first.share();
  first.evalIgnore("var shared = 'yes'");
  EXPECT_EQ(second.evalText("shared").str(), "yes");
  first.release();
  EXPECT_TRUE(first.isEmpty());
  EXPECT_EQ(second.evalText("shared").str(), "yes");
  ASSERT_TRUE(second.create());  // a new engine replaces the one held
  EXPECT_EQ(second.evalText("typeof shared").str(), "undefined");
}

TEST_F(ScriptEngineTest, OnlyJavaScriptIsAccepted) {
  engine.setLanguage("JavaScript");
  EXPECT_EQ(engine.lastError().number, 0);
  engine.setLanguage("VBScript");
  EXPECT_NE(engine.lastError().number, 0);
  EXPECT_EQ(engine.evalNumber("1 + 1"), 2);
}

// Hostile scripts end as script errors, and the engine goes on working.
TEST_F(ScriptEngineTest, HostileScriptsFailWithoutCrashing) {
  const std::string deepArray = std::string(100000, '[') + std::string(100000, ']');
  const std::string deepParens = std::string(100000, '(') + "1" + std::string(100000, ')');
  const struct {
    const char* name;
    std::string script;
  } cases[] = {
      {"huge allocation", "new ArrayBuffer(1e9).byteLength"},
      {"runaway concatenation", "var s = 'x'; while (true) s = s + s"},
      {"runaway array", "var a = [1]; while (true) a = a.concat(a)"},
      {"deep literal", "var deep = " + deepArray},
      {"deep parentheses", deepParens},
      {"deep JSON.parse", "JSON.parse('" + deepArray + "')"},
      {"deep recursion", "function f(n) { return f(n + 1) + 1 } f(0)"},
      {"deep stringify", "var v = []; for (var i = 0; i < 100000; i++) v = [v]; JSON.stringify(v)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(engine.evalBool(Text(c.script)));
    EXPECT_NE(engine.lastError().number, 0);
    EXPECT_EQ(engine.evalNumber("6 * 7"), 42);
  }
}

TEST(ScriptHeap, MemoryCapTurnsIntoAnError) {
  const auto heap = ScriptEngine::Heap::create(std::size_t{8} << 20);
  ASSERT_TRUE(heap);
  EXPECT_FALSE(
      heap->runGlobalCode("var s = 'x'.repeat(1 << 20); var t = [s + 'a', s + 'b', "
                          "s + 'c', s + 'd', s + 'e', s + 'f', s + 'g', s + 'h']"));
  EXPECT_NE(heap->lastError().description.str().find("alloc"), std::string::npos)
      << heap->lastError().description.str();
  EXPECT_LE(heap->memoryUsed(), std::size_t{8} << 20);
  ASSERT_TRUE(heap->runGlobalCode("'still ' + 'working'"));
  EXPECT_EQ(heap->popText().str(), "still working");
}

duk_ret_t callFatal(duk_context* ctx, void*) {
  duk_fatal(ctx, "deliberate");
  return 0;
}

TEST(ScriptHeap, FatalErrorLeavesAnEmptyButSafeEngine) {
  auto heap = ScriptEngine::Heap::create();
  ASSERT_TRUE(heap);
  ASSERT_TRUE(heap->runGlobalCode("var big = 'y'.repeat(100000)"));
  duk_pop(heap->context());
  EXPECT_EQ(heap->protectedCall(&callFatal, nullptr, 0, 0), DUK_EXEC_ERROR);
  EXPECT_FALSE(heap->usable());
  EXPECT_EQ(heap->lastError().description.str(), "deliberate");
  EXPECT_FALSE(heap->runGlobalCode("1"));
  heap.reset();  // frees the abandoned heap's memory block by block
}

}  // namespace
}  // namespace sp
