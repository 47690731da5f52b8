// A counted reference to one JavaScript engine (a Duktape heap). Texts cross as
// GBK; the engine holds Unicode. Failures never throw: they give false, an empty
// text or 0, and the engine's error stays readable through lastError().
#pragma once

#include <memory>

#include "text/text.h"

namespace sp {

struct EngineError {
  double number = 0;
  Text source;
  Text description;
  Text helpFile;
  double helpContext = 0;
  Text text;
  double line = 0;
  double column = 0;
};

class ScriptEngine {
 public:
  bool create();  // a new engine; on failure the reference keeps what it held
  bool isEmpty() const;
  void release();
  ScriptEngine share() const;

  void setLanguage(const Text& language);
  void addCode(const Text& script);  // runs as global code; declarations become globals
  bool evalBool(const Text& expression);
  Text evalText(const Text& expression);
  double evalNumber(const Text& expression);
  void evalIgnore(const Text& expression);
  EngineError lastError() const;

  class Heap;  // defined in script_engine.cpp

 private:
  friend class JsonDocument;  // reads plain paths through the heap directly

  std::shared_ptr<Heap> heap_;
};

}  // namespace sp
