#include "json/script_engine.h"

#include <strings.h>

#include "json/script_heap.h"

namespace sp {

bool ScriptEngine::create() {
  std::shared_ptr<Heap> heap = Heap::create();
  if (!heap) return false;
  heap_ = std::move(heap);
  return true;
}

bool ScriptEngine::isEmpty() const {
  return !heap_;
}

void ScriptEngine::release() {
  heap_.reset();
}

ScriptEngine ScriptEngine::share() const {
  return *this;
}

void ScriptEngine::setLanguage(const Text& language) {
  if (!heap_) return;
  // Duktape speaks one language; naming another is an error that changes nothing.
  if (strcasecmp(language.c_str(), "JavaScript") == 0 ||
      strcasecmp(language.c_str(), "JScript") == 0) {
    heap_->clearError();
  } else {
    heap_->recordFailure("unsupported script language");
  }
}

void ScriptEngine::addCode(const Text& script) {
  if (heap_ && heap_->runGlobalCode(script)) duk_pop(heap_->context());
}

bool ScriptEngine::evalBool(const Text& expression) {
  return heap_ && heap_->runGlobalCode(expression) && heap_->popBool();
}

Text ScriptEngine::evalText(const Text& expression) {
  if (!heap_ || !heap_->runGlobalCode(expression)) return {};
  return heap_->popText();
}

double ScriptEngine::evalNumber(const Text& expression) {
  if (!heap_ || !heap_->runGlobalCode(expression)) return 0;
  return heap_->popNumber();
}

void ScriptEngine::evalIgnore(const Text& expression) {
  addCode(expression);
}

EngineError ScriptEngine::lastError() const {
  return heap_ ? heap_->lastError() : EngineError{};
}

}  // namespace sp
