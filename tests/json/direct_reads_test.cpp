// Plain paths are read by walking the engine's values instead of compiling text.
// Every such read must give what the script expression gives: the same text,
// the same error, and the same number of runs of any code on the way.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "json/json_document.h"

namespace sp {
namespace {

constexpr const char* kRestore = ".replace(str_reg, '\\\\')";

struct Setup {
  const char* name;
  const char* script;  // run through engineObject after parsing; empty: plain data
};

class DirectReadsTest : public ::testing::TestWithParam<Setup> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(doc.parse(R"({"list":[{"name":"a","n":12.5},{"name":"b"}],"s":"x","z":null,)"
                          R"("o":{"k":"v"}})"));
    doc.setProperty("bs", "back\\slash");
    engine = doc.engineObject();
    if (*GetParam().script != '\0') engine.evalIgnore(GetParam().script);
  }

  JsonDocument doc;
  ScriptEngine engine;
};

const char* const kPaths[] = {
    "",
    "list",
    "list[0].name",
    "list[1].name",
    "list[0].n",
    "list[5].name",
    "list[0].missing",
    "s",
    "s.length",
    "z",
    "z.k",
    "missing",
    "missing.deeper",
    "o.k",
    "bs",
    "da.s",
    "da.missing",
    "list[0]",
    "g",
    "p.k",
    "list.length",
    "o.toString",
    "list[01]",
    "o.__proto__",
};

TEST_P(DirectReadsTest, TextsAndErrorsMatchTheScript) {
  for (const char* path : kPaths) {
    SCOPED_TRACE(path);
    Text full = path;
    const bool exists = doc.resolvePath(full);
    EXPECT_EQ(exists, engine.evalBool(Text(full.str() + " != null")));

    const Text text = doc.getText(path);
    const EngineError afterDirect = engine.lastError();
    EXPECT_EQ(text, engine.evalText(Text(full.str() + ".toString()" + kRestore)));
    const EngineError afterScript = engine.lastError();
    EXPECT_EQ(afterDirect.number, afterScript.number);
    EXPECT_EQ(afterDirect.description, afterScript.description);
    EXPECT_EQ(afterDirect.line, afterScript.line);

    const Text json = doc.getText(path, true);
    const EngineError afterDirectJson = engine.lastError();
    EXPECT_EQ(json, engine.evalText(Text("JSON.stringify(" + full.str() + ")" + kRestore)));
    EXPECT_EQ(afterDirectJson.description, engine.lastError().description);

    const Text item = doc.arrayItemText(1, path);
    EXPECT_EQ(item, engine.evalText(Text(full.str() + "[1]" + kRestore)));

    const double number = doc.getNumber(path);
    const double expected = engine.evalNumber(full);
    if (!(std::isnan(number) && std::isnan(expected))) {
      EXPECT_EQ(number, expected);
    }
  }
}

TEST_P(DirectReadsTest, CodeOnTheWayRunsOncePerEvaluation) {
  engine.evalIgnore("var hits = 0");
  // resolvePath evaluates the path once, getText once more.
  doc.getText("g");
  doc.getText("p.k");
  const double runs = engine.evalNumber("hits");
  if (std::string(GetParam().name) == "accessors") {
    EXPECT_EQ(runs, 4);
  } else {
    EXPECT_EQ(runs, 0);
  }
}

const Setup kSetups[] = {
    {"plainData", ""},
    {"scriptRan", "var unrelated = 1"},
    {"accessors",
     "Object.defineProperty(da, 'g', {get: function () { hits++; return 'got' }, "
     "enumerable: true}); da.p = new Proxy({k: 'target'}, {get: function (t, k) { hits++; "
     "return 'trapped' }})"},
    {"changedToString", "String.prototype.toString = function () { return 'changed' }"},
    {"changedReplace",
     "var original = String.prototype.replace; String.prototype.replace = function (a, b) { "
     "return 'R' + original.call(this, a, b) }"},
    {"otherPattern", "str_reg = /x/g"},
    {"frozenLastIndex", "Object.defineProperty(str_reg, 'lastIndex', {writable: false})"},
    {"changedStringify", "JSON.stringify = function () { return 'S' }"},
    {"inheritedMember", "Object.prototype.inherited = 'from prototype'"},
};

INSTANTIATE_TEST_SUITE_P(JsonDocument, DirectReadsTest, ::testing::ValuesIn(kSetups),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sp
