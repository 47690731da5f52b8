// One JSON value, the root, held as the global variable "da" in a script engine
// of the document's own, read and changed through path expressions.
#pragma once

#include <cstdint>
#include <memory>

#include "json/script_engine.h"
#include "text/text.h"

namespace sp {

struct ScriptError {
  int32_t number = 0;
  Text source;
  Text description;
  Text helpFile;
  int32_t helpContext = 0;
  Text text;
  int32_t line = 0;
  int32_t column = 0;
};

enum class JsonKind : int32_t {
  Absent = 0,
  Boolean = 1,
  Number = 2,
  Object = 4,
  Array = 5,
  String = 6,
  Other = -1,
};

class JsonDocument {
 public:
  JsonDocument();  // named "da", after init()
  virtual ~JsonDocument();
  JsonDocument(const JsonDocument&) = delete;
  JsonDocument& operator=(const JsonDocument&) = delete;

  // In the fixed slot order.
  virtual void destroy();
  virtual std::unique_ptr<JsonDocument> copy();
  virtual void init();
  virtual bool parse(const Text& text, bool noEval = false, ScriptError* error = nullptr);
  virtual bool clear();
  virtual Text toJson();
  virtual bool setProperty(const Text& path = {}, const Text& value = {}, bool asObject = false);
  virtual bool setByExpression(const Text& path = {}, const Text& expression = {});
  virtual bool resolvePath(Text& path);
  virtual bool exists(const Text& path = {});
  virtual int32_t kindOf(const Text& path = {});
  virtual Text getText(const Text& path = {}, bool asJson = false);
  virtual int32_t memberNames(TextArray& names, const Text& path = {});
  virtual int32_t memberCount(const Text& path = {});
  virtual std::unique_ptr<JsonDocument> getDocument(const Text& path = {});
  virtual bool arrayAdd(const Text& value = {}, const Text& path = {}, bool raw = false,
                        bool atFront = false);
  virtual std::unique_ptr<JsonDocument> arrayItemDocument(int32_t index = 0, const Text& path = {});
  virtual Text arrayItemText(int32_t index = 0, const Text& path = {}, bool asJson = false);
  virtual bool arraySetItem(int32_t index = 0, const Text& path = {}, const Text& value = {},
                            bool raw = false);
  virtual bool arrayRemoveItem(int32_t index = 0, const Text& path = {});
  virtual bool deleteProperty(const Text& path = {});
  virtual bool setNumber(const Text& path = {}, double value = 0);
  virtual double getNumber(const Text& path = {});
  virtual Text getJson(const Text& path = {});
  virtual ScriptEngine engineObject();
  virtual int32_t nodeValues(TextArray& values, const Text& path = {}, bool recursive = false);

  const Text& name() const { return name_; }

 private:
  JsonDocument(Text name, ScriptEngine engine);  // for copy: no init, a shared engine

  // The full expression of a path, by the path rule, on a copy of it.
  Text resolved(const Text& path);
  // A new document holding the value of a JSON text, parsed in the eval form.
  static std::unique_ptr<JsonDocument> documentFromJson(const Text& json);
  void loadSupportScript();
  // Runs one of the document's own fixed statements; gives its truth value.
  bool runOwnStatement(const Text& statement);
  // P + " != null", P + conversion with placeholders restored (conversion being
  // ".toString()", "" or JSON), and the number of P: walked directly where P is
  // a plain chain, evaluated as script otherwise, with the same results.
  enum class Conversion { ToString, None, Json };
  bool holdsValue(const Text& expression);
  Text textWithBackslashes(const Text& expression, Conversion conversion);
  double numberOf(const Text& expression);
  // parse, minus the renewal of the engine: for an engine that is brand new.
  bool parseIntoFreshEngine(const Text& text, bool noEval, ScriptError* error);

  Text name_;
  ScriptEngine engine_;
};

}  // namespace sp
