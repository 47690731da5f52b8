// Construction, parsing, the path rule and the reading operations.
#include "json/json_document.h"

#include <cmath>
#include <limits>
#include <string>

#include "json/json_text_check.h"
#include "json/path_reader.h"
#include "json/script_heap.h"
#include "json/support_script.h"
#include "json/text_split.h"

namespace sp {
namespace {

// Placeholders of stored backslashes turn back into backslashes on the way out.
constexpr const char* kRestoreBackslashes = ".replace(str_reg, '\\\\')";

// Joins nodeValues' results; chosen so that no real value contains it.
Text valueSeparator() {
  static const Text separator = gbkFromUtf8("[2020年7月20日20时0分0秒]");
  return separator;
}

int32_t truncatedInt32(double value) {
  if (!std::isfinite(value)) return 0;
  value = std::trunc(value);
  if (value <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  if (value >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

bool startsWith(const Text& text, const Text& prefix) {
  return text.view().substr(0, prefix.view().size()) == prefix.view();
}

Text decimal(int32_t number) {
  return Text(std::to_string(number));
}

}  // namespace

JsonDocument::JsonDocument() : name_("da") {
  init();
}

JsonDocument::JsonDocument(Text name, ScriptEngine engine)
    : name_(std::move(name)), engine_(std::move(engine)) {}

JsonDocument::~JsonDocument() = default;

// The engine ends with the last document that shares it. There is no thread
// initialisation to undo: the engine needs none, so init and destroy pair trivially.
void JsonDocument::destroy() {
  engine_.release();
  name_ = Text();
}

std::unique_ptr<JsonDocument> JsonDocument::copy() {
  return std::unique_ptr<JsonDocument>(new JsonDocument(name_, engine_.share()));
}

void JsonDocument::loadSupportScript() {
  const std::string& bytecode = supportScriptBytecode();
  ScriptEngine::Heap& heap = *engine_.heap_;
  if (!bytecode.empty() && heap.runBytecode(bytecode)) {
    duk_pop(heap.context());
    return;
  }
  if (heap.runGlobalCode(Text(supportScript()), true)) duk_pop(heap.context());
}

bool JsonDocument::runOwnStatement(const Text& statement) {
  ScriptEngine::Heap* heap = engine_.heap_.get();
  return heap != nullptr && heap->runGlobalCode(statement, true) && heap->popBool();
}

void JsonDocument::init() {
  if (!engine_.create()) return;
  engine_.setLanguage("JavaScript");
  loadSupportScript();
  runOwnStatement(joinTexts("var ", name_,
                            " = {}, str_Code = String.fromCharCode(9216), str_reg = new "
                            "RegExp(str_Code, 'g')"));
  engine_.heap_->rememberPlaceholderPattern();
}

bool JsonDocument::holdsValue(const Text& expression) {
  ScriptEngine::Heap* heap = engine_.heap_.get();
  if (heap != nullptr) {
    const auto keys = plainChain(expression.view(), name_.view());
    if (keys && heap->pushPlainChainValue(*keys)) {
      heap->clearError();
      return heap->popIsSet();
    }
  }
  return engine_.evalBool(joinTexts(expression, " != null"));
}

Text JsonDocument::textWithBackslashes(const Text& expression, Conversion conversion) {
  ScriptEngine::Heap* heap = engine_.heap_.get();
  if (heap != nullptr) {
    const auto keys = plainChain(expression.view(), name_.view());
    if (keys && heap->pushPlainChainValue(*keys)) {
      if (auto text = heap->popWithBackslashes(conversion == Conversion::Json)) {
        heap->clearError();
        return *std::move(text);
      }
    }
  }
  switch (conversion) {
    case Conversion::ToString:
      return engine_.evalText(joinTexts(expression, ".toString()", kRestoreBackslashes));
    case Conversion::None:
      return engine_.evalText(joinTexts(expression, kRestoreBackslashes));
    case Conversion::Json:
      break;
  }
  return engine_.evalText(joinTexts("JSON.stringify(", expression, ")", kRestoreBackslashes));
}

double JsonDocument::numberOf(const Text& expression) {
  ScriptEngine::Heap* heap = engine_.heap_.get();
  if (heap != nullptr) {
    const auto keys = plainChain(expression.view(), name_.view());
    if (keys && heap->pushPlainChainValue(*keys)) {
      heap->clearError();
      return heap->popNumber();
    }
  }
  return engine_.evalNumber(expression);
}

bool JsonDocument::parse(const Text& text, bool noEval, ScriptError* error) {
  if (!engine_.isEmpty()) {
    engine_.release();
    init();
  }
  if (engine_.isEmpty()) return false;
  return parseIntoFreshEngine(text, noEval, error);
}

bool JsonDocument::parseIntoFreshEngine(const Text& text, bool noEval, ScriptError* error) {
  runOwnStatement(joinTexts("var ", name_, " = null"));
  // A JSON text runs no code in either form, so the engine's JSON decoder can
  // build the same value without compiling it; what it refuses goes the long way.
  if (!(isJsonContainerText(text) && engine_.heap_->assignGlobalFromJson(name_.c_str(), text))) {
    engine_.addCode(noEval ? joinTexts("var ", name_, " = ", text)
                           : joinTexts("var ", name_, " = eval(", text, ")"));
  }
  if (error != nullptr) {
    const EngineError failure = engine_.lastError();
    error->number = truncatedInt32(failure.number);
    error->source = failure.source;
    error->description = failure.description;
    error->helpFile = failure.helpFile;
    error->helpContext = truncatedInt32(failure.helpContext);
    error->text = failure.text;
    error->line = truncatedInt32(failure.line);
    error->column = truncatedInt32(failure.column);
  }
  return runOwnStatement(joinTexts(name_, " != null"));
}

Text JsonDocument::toJson() {
  return textWithBackslashes(name_, Conversion::Json);
}

bool JsonDocument::resolvePath(Text& path) {
  if (startsWith(path, name_) && holdsValue(path)) return true;
  if (path.empty()) {
    path = name_;
  } else if (path.view().front() == '[') {
    path = joinTexts(name_, path);
  } else {
    path = joinTexts(name_, ".", path);
  }
  return holdsValue(path);
}

Text JsonDocument::resolved(const Text& path) {
  Text full = path;
  resolvePath(full);
  return full;
}

bool JsonDocument::exists(const Text& path) {
  Text full = path;
  return resolvePath(full);
}

int32_t JsonDocument::kindOf(const Text& path) {
  if (engine_.isEmpty()) return static_cast<int32_t>(JsonKind::Absent);
  const Text full = resolved(path);
  if (engine_.evalBool(joinTexts(full, " == null"))) return static_cast<int32_t>(JsonKind::Absent);
  const Text tag = engine_.evalText(joinTexts("Object.prototype.toString.call(", full, ")"));
  static const struct {
    const char* tag;
    JsonKind kind;
  } kKinds[] = {
      {"[object Boolean]", JsonKind::Boolean}, {"[object Number]", JsonKind::Number},
      {"[object Object]", JsonKind::Object},   {"[object Array]", JsonKind::Array},
      {"[object String]", JsonKind::String},
  };
  for (const auto& entry : kKinds) {
    if (tag == Text(entry.tag)) return static_cast<int32_t>(entry.kind);
  }
  return static_cast<int32_t>(JsonKind::Other);
}

Text JsonDocument::getText(const Text& path, bool asJson) {
  const Text full = resolved(path);
  return textWithBackslashes(full, asJson ? Conversion::Json : Conversion::ToString);
}

Text JsonDocument::getJson(const Text& path) {
  return getText(path, true);
}

double JsonDocument::getNumber(const Text& path) {
  return numberOf(resolved(path));
}

int32_t JsonDocument::memberCount(const Text& path) {
  return truncatedInt32(engine_.evalNumber(joinTexts("get__count(", resolved(path), ")")));
}

int32_t JsonDocument::memberNames(TextArray& names, const Text& path) {
  const Text joined = engine_.evalText(joinTexts("get__name_All(", resolved(path), ")"));
  names = splitText(joined, "\r\n");
  return elementCount(names);
}

int32_t JsonDocument::nodeValues(TextArray& values, const Text& path, bool recursive) {
  const Text full = resolved(path);
  engine_.evalIgnore("var str_all = new Array()");
  engine_.evalIgnore(joinTexts("get__nodeValue(", full, recursive ? ", true)" : ", false)"));
  const Text separator = valueSeparator();
  const Text joined = engine_.evalText(joinTexts("str_all.join('", separator, "')"));
  values = splitText(joined, separator);
  return elementCount(values);
}

std::unique_ptr<JsonDocument> JsonDocument::documentFromJson(const Text& json) {
  // Its engine is brand new, so parse's renewal of the engine can be skipped.
  auto document = std::make_unique<JsonDocument>();
  if (!document->engine_.isEmpty()) document->parseIntoFreshEngine(json, false, nullptr);
  return document;
}

std::unique_ptr<JsonDocument> JsonDocument::getDocument(const Text& path) {
  return documentFromJson(textWithBackslashes(resolved(path), Conversion::Json));
}

std::unique_ptr<JsonDocument> JsonDocument::arrayItemDocument(int32_t index, const Text& path) {
  const Text item = joinTexts(resolved(path), "[", decimal(index), "]");
  return documentFromJson(textWithBackslashes(item, Conversion::Json));
}

Text JsonDocument::arrayItemText(int32_t index, const Text& path, bool asJson) {
  const Text item = joinTexts(resolved(path), "[", decimal(index), "]");
  return textWithBackslashes(item, asJson ? Conversion::Json : Conversion::None);
}

ScriptEngine JsonDocument::engineObject() {
  return engine_.share();
}

}  // namespace sp
