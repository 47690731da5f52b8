#include "json/script_heap.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "json/value_reading.h"

namespace sp {
namespace {

constexpr const char* kInputName = "input";

struct SourceArgs {
  const char* data;
  std::size_t size;
};

duk_ret_t compileAndRun(duk_context* ctx, void* udata) {
  const auto* source = static_cast<const SourceArgs*>(udata);
  duk_push_string(ctx, kInputName);
  duk_compile_lstring_filename(ctx, 0, source->data, source->size);
  duk_call(ctx, 0);
  return 1;
}

duk_ret_t loadAndRun(duk_context* ctx, void* udata) {
  const auto* bytecode = static_cast<const SourceArgs*>(udata);
  void* buffer = duk_push_fixed_buffer(ctx, bytecode->size);
  std::memcpy(buffer, bytecode->data, bytecode->size);
  duk_load_function(ctx);
  duk_call(ctx, 0);
  return 1;
}

duk_ret_t convertToPrimitive(duk_context* ctx, void*) {
  duk_to_primitive(ctx, -1, DUK_HINT_NONE);
  return 1;
}

duk_ret_t convertToString(duk_context* ctx, void*) {
  duk_to_string(ctx, -1);
  return 1;
}

// Pushes name, message, lineNumber and fileName of the thrown value (argument 0).
duk_ret_t describeThrown(duk_context* ctx, void*) {
  if (duk_is_error(ctx, 0)) {
    duk_get_prop_string(ctx, 0, "name");
    duk_get_prop_string(ctx, 0, "message");
    duk_get_prop_string(ctx, 0, "lineNumber");
    duk_get_prop_string(ctx, 0, "fileName");
    duk_to_string(ctx, -4);
    duk_to_string(ctx, -4);
  } else {
    duk_push_string(ctx, "Error");
    duk_dup(ctx, 0);
    duk_to_string(ctx, -1);
    duk_push_undefined(ctx);
    duk_push_undefined(ctx);
  }
  return 4;
}

struct BuiltIns {
  void* stringPrototype;
  void* toString;
  void* replace;
  void* json;
  void* stringify;
};

duk_ret_t findBuiltIns(duk_context* ctx, void* udata) {
  auto* found = static_cast<BuiltIns*>(udata);
  // String.prototype, where a string's property lookup goes; no script has run yet.
  duk_get_global_string(ctx, "String");
  duk_get_prop_string(ctx, -1, "prototype");
  found->stringPrototype = duk_get_heapptr(ctx, -1);
  duk_get_prop_string(ctx, -1, "toString");
  found->toString = duk_get_heapptr(ctx, -1);
  duk_get_prop_string(ctx, -2, "replace");
  found->replace = duk_get_heapptr(ctx, -1);
  // Held in the stash so that no later object can take their addresses.
  duk_push_heap_stash(ctx);
  duk_dup(ctx, -3);
  duk_put_prop_string(ctx, -2, "toString");
  duk_dup(ctx, -2);
  duk_put_prop_string(ctx, -2, "replace");
  duk_get_global_string(ctx, "JSON");
  found->json = duk_get_heapptr(ctx, -1);
  duk_get_prop_string(ctx, -1, "stringify");
  found->stringify = duk_get_heapptr(ctx, -1);
  duk_put_prop_string(ctx, -3, "stringify");
  duk_put_prop_string(ctx, -2, "JSON");
  return 0;
}

// The global str_reg, kept in the stash as well.
duk_ret_t findPattern(duk_context* ctx, void*) {
  duk_get_global_string(ctx, "str_reg");
  duk_push_heap_stash(ctx);
  duk_dup(ctx, -2);
  duk_put_prop_string(ctx, -2, "placeholderPattern");
  duk_pop(ctx);
  return 1;
}

// Leaves on the stack top the value of the own data property named by the key
// on the stack top of the object below it, replacing both; false when there is none.
bool ownDataValue(duk_context* ctx) {
  duk_get_prop_desc(ctx, -2, 0);  // consumes the key
  if (!duk_is_object(ctx, -1) || duk_has_prop_string(ctx, -1, "get") ||
      duk_has_prop_string(ctx, -1, "set")) {
    return false;
  }
  duk_get_prop_string(ctx, -1, "value");
  duk_remove(ctx, -2);  // the descriptor
  duk_remove(ctx, -2);  // the holder
  return true;
}

struct ChainArgs {
  const std::vector<std::string>* keys;
  bool plainData;
  bool found;
};

duk_ret_t walkChain(duk_context* ctx, void* udata) {
  auto* args = static_cast<ChainArgs*>(udata);
  args->found = false;
  duk_push_global_object(ctx);
  for (const std::string& key : *args->keys) {
    if (args->plainData) {
      // Plain data has no getters or proxies: an ordinary read is what the
      // script would do, up to the step where the script would throw.
      if (duk_is_null_or_undefined(ctx, -1)) return 0;
      duk_get_prop_lstring(ctx, -1, key.data(), key.size());
      duk_remove(ctx, -2);
      continue;
    }
    if (!duk_is_object(ctx, -1)) return 0;
    duk_push_lstring(ctx, key.data(), key.size());
    if (!ownDataValue(ctx)) return 0;
  }
  args->found = true;
  return 1;
}

struct RestoreArgs {
  void* stringPrototype;
  void* toString;
  void* replace;
  void* pattern;
  void* json;  // null: argument 0 is the string itself
  void* stringify;
  bool plainData;
  bool done;
};

// True when the own data property named key of the object at the stack top is
// the expected value; leaves the stack as it was.
bool holdsOwnData(duk_context* ctx, const char* key, void* expected) {
  duk_dup_top(ctx);
  duk_push_string(ctx, key);
  const bool same = ownDataValue(ctx) && duk_get_heapptr(ctx, -1) == expected;
  duk_pop(ctx);
  return same;
}

// Argument 0: a value. Does what JSON.stringify(value) (when json is set) and
// then .toString().replace(str_reg, '\\') would do, where every built-in they
// use is the engine's own: leaves the string, whose placeholders the caller
// turns into backslashes, and sets str_reg.lastIndex to 0 as replace does.
duk_ret_t prepareBackslashRestore(duk_context* ctx, void* udata) {
  auto* args = static_cast<RestoreArgs*>(udata);
  args->done = false;
  if (args->plainData) {
    // The built-ins are the engine's own and str_reg's lastIndex is still 0.
    if (args->json != nullptr) {
      duk_push_heapptr(ctx, args->stringify);
      duk_push_heapptr(ctx, args->json);
      duk_dup(ctx, 0);
      duk_call_method(ctx, 1);
    } else {
      duk_dup(ctx, 0);
    }
    if (!duk_is_string(ctx, -1) || duk_is_symbol(ctx, -1)) return 0;
    args->done = true;
    return 1;
  }
  duk_push_heapptr(ctx, args->stringPrototype);
  if (!holdsOwnData(ctx, "toString", args->toString) ||
      !holdsOwnData(ctx, "replace", args->replace)) {
    return 0;
  }
  duk_push_global_object(ctx);
  if (!holdsOwnData(ctx, "str_reg", args->pattern)) return 0;
  if (args->json != nullptr && !holdsOwnData(ctx, "JSON", args->json)) return 0;
  duk_push_heapptr(ctx, args->pattern);
  const duk_idx_t pattern = duk_get_top_index(ctx);
  duk_push_string(ctx, "lastIndex");
  duk_get_prop_desc(ctx, -2, 0);
  if (!duk_is_object(ctx, -1) || !duk_has_prop_string(ctx, -1, "writable")) return 0;
  duk_get_prop_string(ctx, -1, "writable");
  if (!duk_get_boolean(ctx, -1)) return 0;
  if (args->json != nullptr) {
    duk_push_heapptr(ctx, args->json);
    if (!holdsOwnData(ctx, "stringify", args->stringify)) return 0;
    duk_push_heapptr(ctx, args->stringify);
    duk_push_heapptr(ctx, args->json);
    duk_dup(ctx, 0);
    duk_call_method(ctx, 1);
  } else {
    duk_dup(ctx, 0);
  }
  if (!duk_is_string(ctx, -1) || duk_is_symbol(ctx, -1)) return 0;
  duk_push_int(ctx, 0);
  duk_put_prop_string(ctx, pattern, "lastIndex");
  args->done = true;
  return 1;
}

// The placeholder U+2400 as the engine stores it, and what replaces it.
constexpr std::string_view kPlaceholderBytes = "\xE2\x90\x80";

Text textWithBackslashes(const char* bytes, std::size_t size) {
  const std::string_view all(bytes, size);
  std::string restored;
  restored.reserve(size);
  std::size_t from = 0;
  for (std::size_t at = all.find(kPlaceholderBytes); at != std::string_view::npos;
       at = all.find(kPlaceholderBytes, from)) {
    restored.append(all.substr(from, at - from));
    restored += '\\';
    from = at + kPlaceholderBytes.size();
  }
  restored.append(all.substr(from));
  return cesu8ToGbk(ByteBuffer(std::move(restored)));
}

duk_ret_t decodeJson(duk_context* ctx, void* udata) {
  const auto* source = static_cast<const SourceArgs*>(udata);
  duk_push_lstring(ctx, source->data, source->size);
  duk_json_decode(ctx, -1);
  return 1;
}

duk_ret_t putGlobal(duk_context* ctx, void* udata) {
  duk_put_global_string(ctx, static_cast<const char*>(udata));
  return 0;
}

Text textFromEngineString(duk_context* ctx, duk_idx_t index) {
  duk_size_t size = 0;
  const char* bytes = duk_get_lstring(ctx, index, &size);
  if (bytes == nullptr) return {};
  return cesu8ToGbk(ByteBuffer(bytes, size));
}

// The line of a GBK text with the given 1-based number; CR LF, CR and LF end a line.
Text lineOf(const Text& text, int line) {
  std::string_view rest = text.view();
  for (int current = 1; !rest.empty(); ++current) {
    const std::size_t end = rest.find_first_of("\r\n");
    if (current == line) return Text(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    const std::size_t next =
        (rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n') ? end + 2 : end + 1;
    rest.remove_prefix(next);
  }
  return {};
}

}  // namespace

std::shared_ptr<ScriptEngine::Heap> ScriptEngine::Heap::create(std::size_t memoryCap) {
  std::shared_ptr<Heap> heap(new Heap(memoryCap));
  std::jmp_buf jump;
  heap->fatalJump_ = &jump;
  if (setjmp(jump) == 0) {
    heap->context_ = duk_create_heap(&Heap::allocate, &Heap::reallocate, &Heap::release, heap.get(),
                                     &Heap::fatal);
  } else {
    heap->context_ = nullptr;
  }
  heap->fatalJump_ = nullptr;
  if (heap->context_ == nullptr) return nullptr;
  BuiltIns found{};
  if (heap->protectedCall(&findBuiltIns, &found, 0, 0) != DUK_EXEC_SUCCESS) {
    if (!heap->usable()) return nullptr;
    found = BuiltIns{};  // without them every read takes the compiled way
  }
  heap->stringPrototype_ = found.stringPrototype;
  heap->originalToString_ = found.toString;
  heap->originalReplace_ = found.replace;
  heap->originalJson_ = found.json;
  heap->originalStringify_ = found.stringify;
  return heap;
}

ScriptEngine::Heap::Heap(std::size_t memoryCap) : cap_(memoryCap) {}

ScriptEngine::Heap::~Heap() {
  if (context_ != nullptr) {
    std::jmp_buf jump;
    fatalJump_ = &jump;
    if (setjmp(jump) == 0) duk_destroy_heap(context_);
    fatalJump_ = nullptr;
    context_ = nullptr;
  }
  freeAllBlocks();
}

void ScriptEngine::Heap::link(Block* block) {
  block->previous = &blocks_;
  block->next = blocks_.next;
  blocks_.next->previous = block;
  blocks_.next = block;
}

void ScriptEngine::Heap::unlink(Block* block) {
  block->previous->next = block->next;
  block->next->previous = block->previous;
}

void ScriptEngine::Heap::freeAllBlocks() {
  while (blocks_.next != &blocks_) {
    Block* block = blocks_.next;
    unlink(block);
    used_ -= block->size;
    std::free(block);
  }
}

void* ScriptEngine::Heap::allocate(void* udata, duk_size_t size) {
  auto* heap = static_cast<Heap*>(udata);
  if (size > heap->cap_ - heap->used_) return nullptr;
  auto* block = static_cast<Block*>(std::malloc(sizeof(Block) + size));
  if (block == nullptr) return nullptr;
  block->size = size;
  heap->used_ += size;
  heap->link(block);
  return block + 1;
}

void* ScriptEngine::Heap::reallocate(void* udata, void* pointer, duk_size_t size) {
  auto* heap = static_cast<Heap*>(udata);
  if (pointer == nullptr) return allocate(udata, size);
  if (size == 0) {
    release(udata, pointer);
    return nullptr;
  }
  Block* block = static_cast<Block*>(pointer) - 1;
  const std::size_t old = block->size;
  if (size > old && size - old > heap->cap_ - heap->used_) return nullptr;
  unlink(block);
  auto* moved = static_cast<Block*>(std::realloc(block, sizeof(Block) + size));
  if (moved == nullptr) {
    heap->link(block);  // realloc left the old block as it was
    return nullptr;
  }
  moved->size = size;
  heap->used_ = heap->used_ - old + size;
  heap->link(moved);
  return moved + 1;
}

void ScriptEngine::Heap::release(void* udata, void* pointer) {
  if (pointer == nullptr) return;
  auto* heap = static_cast<Heap*>(udata);
  Block* block = static_cast<Block*>(pointer) - 1;
  unlink(block);
  heap->used_ -= block->size;
  std::free(block);
}

void ScriptEngine::Heap::fatal(void* udata, const char* message) {
  auto* heap = static_cast<Heap*>(udata);
  std::strncpy(heap->fatalMessage_, message != nullptr ? message : "fatal error",
               sizeof heap->fatalMessage_ - 1);
  // Duktape aborts when this handler returns; without a guard there is nowhere to go.
  if (heap->fatalJump_ == nullptr) std::abort();
  std::longjmp(*heap->fatalJump_, 1);
}

duk_int_t ScriptEngine::Heap::protectedCall(duk_safe_call_function body, void* udata,
                                            duk_idx_t nargs, duk_idx_t nrets) {
  if (context_ == nullptr) {
    error_ = EngineError{};
    recordFailure(fatalMessage_[0] != '\0' ? fatalMessage_ : "no script engine");
    return DUK_EXEC_ERROR;
  }
  std::jmp_buf jump;
  std::jmp_buf* const outer = fatalJump_;
  fatalJump_ = &jump;
  duk_int_t result = DUK_EXEC_ERROR;
  if (setjmp(jump) == 0) {
    result = duk_safe_call(context_, body, udata, nargs, nrets);
  } else {
    // The heap's state is undefined now: drop the context without using it; the
    // destructor frees its memory through the block list.
    context_ = nullptr;
    recordFatal();
    result = DUK_EXEC_ERROR;
  }
  fatalJump_ = outer;
  return result;
}

void ScriptEngine::Heap::recordFatal() {
  error_ = EngineError{};
  error_.number = DUK_ERR_ERROR;
  error_.source = "fatal";
  error_.description = Text(std::string_view(fatalMessage_));
}

void ScriptEngine::Heap::recordFailure(const char* description) {
  error_ = EngineError{};
  error_.number = DUK_ERR_ERROR;
  error_.source = "Error";
  error_.description = description;
}

void ScriptEngine::Heap::recordThrown(const Text& source) {
  error_ = EngineError{};
  // A thrown value that is no Error instance has no code of its own.
  const duk_errcode_t code = duk_get_error_code(context_, -1);
  error_.number = code != 0 ? code : DUK_ERR_ERROR;
  error_.source = "Error";
  if (protectedCall(&describeThrown, nullptr, 1, 4) != DUK_EXEC_SUCCESS) {
    if (context_ != nullptr) duk_pop_n(context_, 4);
    return;
  }
  error_.source = textFromEngineString(context_, -4);
  error_.description = textFromEngineString(context_, -3);
  // Only a position inside the evaluated text is worth reporting with its line.
  const char* file = duk_get_string(context_, -1);
  if (file != nullptr && std::strcmp(file, kInputName) == 0 && duk_is_number(context_, -2)) {
    error_.line = duk_get_number(context_, -2);
    error_.text = lineOf(source, static_cast<int>(error_.line));
  }
  duk_pop_n(context_, 4);
}

bool ScriptEngine::Heap::pushPlainChainValue(const std::vector<std::string>& keys) {
  ChainArgs args{&keys, plainDataOnly_, false};
  const duk_int_t result = protectedCall(&walkChain, &args, 0, 1);
  if (context_ == nullptr) return false;
  if (result == DUK_EXEC_SUCCESS && args.found) return true;
  duk_pop(context_);
  return false;
}

bool ScriptEngine::Heap::popIsSet() {
  if (context_ == nullptr) return false;
  const bool set = !duk_is_null_or_undefined(context_, -1);
  duk_pop(context_);
  return set;
}

std::optional<Text> ScriptEngine::Heap::popWithBackslashes(bool asJson) {
  if (context_ == nullptr) return std::nullopt;
  duk_context* ctx = context_;
  const bool plainString = duk_is_string(ctx, -1) && !duk_is_symbol(ctx, -1);
  // Values without a JSON text make the script throw; let it say so itself.
  const bool jsonable = !duk_is_undefined(ctx, -1) && !duk_is_function(ctx, -1) &&
                        !duk_is_symbol(ctx, -1) && !duk_is_lightfunc(ctx, -1);
  if ((asJson ? !jsonable : !plainString) || placeholderPattern_ == nullptr ||
      stringPrototype_ == nullptr || (asJson && originalJson_ == nullptr)) {
    duk_pop(ctx);
    return std::nullopt;
  }
  RestoreArgs args{stringPrototype_,
                   originalToString_,
                   originalReplace_,
                   placeholderPattern_,
                   asJson ? originalJson_ : nullptr,
                   originalStringify_,
                   plainDataOnly_,
                   false};
  const duk_int_t result = protectedCall(&prepareBackslashRestore, &args, 1, 1);
  if (context_ == nullptr) return std::nullopt;
  if (result != DUK_EXEC_SUCCESS || !args.done) {
    duk_pop(ctx);
    return std::nullopt;
  }
  duk_size_t size = 0;
  const char* bytes = duk_get_lstring(ctx, -1, &size);
  Text text = textWithBackslashes(bytes, size);
  duk_pop(ctx);
  return text;
}

void ScriptEngine::Heap::rememberPlaceholderPattern() {
  placeholderPattern_ = nullptr;
  if (protectedCall(&findPattern, nullptr, 0, 1) != DUK_EXEC_SUCCESS) {
    if (context_ != nullptr) duk_pop(context_);
    return;
  }
  if (duk_is_object(context_, -1)) placeholderPattern_ = duk_get_heapptr(context_, -1);
  duk_pop(context_);
}

bool ScriptEngine::Heap::assignGlobalFromJson(const char* name, const Text& json) {
  const ByteBuffer utf8 = gbkToUtf8(json);
  SourceArgs args{reinterpret_cast<const char*>(utf8.data()),
                  static_cast<std::size_t>(utf8.length())};
  if (protectedCall(&decodeJson, &args, 0, 1) != DUK_EXEC_SUCCESS) {
    if (context_ != nullptr) duk_pop(context_);
    return false;
  }
  if (protectedCall(&putGlobal, const_cast<char*>(name), 1, 0) != DUK_EXEC_SUCCESS) {
    if (context_ != nullptr) duk_pop(context_);
    return false;
  }
  clearError();
  return true;
}

bool ScriptEngine::Heap::runGlobalCode(const Text& source, bool trusted) {
  if (!trusted) plainDataOnly_ = false;
  const ByteBuffer utf8 = gbkToUtf8(source);
  SourceArgs args{reinterpret_cast<const char*>(utf8.data()),
                  static_cast<std::size_t>(utf8.length())};
  if (protectedCall(&compileAndRun, &args, 0, 1) != DUK_EXEC_SUCCESS) {
    if (context_ != nullptr) recordThrown(source);
    return false;
  }
  clearError();
  return true;
}

bool ScriptEngine::Heap::runBytecode(std::string_view bytecode) {
  SourceArgs args{bytecode.data(), bytecode.size()};
  if (protectedCall(&loadAndRun, &args, 0, 1) != DUK_EXEC_SUCCESS) {
    if (context_ != nullptr) recordThrown({});
    return false;
  }
  clearError();
  return true;
}

bool ScriptEngine::Heap::toPrimitive() {
  if (protectedCall(&convertToPrimitive, nullptr, 1, 1) == DUK_EXEC_SUCCESS) return true;
  if (context_ != nullptr) recordThrown({});
  return false;
}

bool ScriptEngine::Heap::popBool() {
  if (context_ == nullptr) return false;
  duk_context* ctx = context_;
  if (duk_is_object(ctx, -1) && !toPrimitive()) return false;
  bool result = false;
  switch (duk_get_type(ctx, -1)) {
    case DUK_TYPE_BOOLEAN:
      result = duk_get_boolean(ctx, -1) != 0;
      break;
    case DUK_TYPE_NUMBER:
      // As the platform's variant conversion: anything but 0 is true, NaN too.
      result = duk_get_number(ctx, -1) != 0;
      break;
    case DUK_TYPE_STRING:
      if (!duk_is_symbol(ctx, -1)) {
        duk_size_t size = 0;
        const char* bytes = duk_get_lstring(ctx, -1, &size);
        result = truthFromText(std::string_view(bytes, size));
      }
      break;
    default:
      break;
  }
  duk_pop(ctx);
  return result;
}

double ScriptEngine::Heap::popNumber() {
  if (context_ == nullptr) return 0;
  duk_context* ctx = context_;
  if (duk_is_object(ctx, -1) && !toPrimitive()) return 0;
  double result = 0;
  switch (duk_get_type(ctx, -1)) {
    case DUK_TYPE_BOOLEAN:
      result = duk_get_boolean(ctx, -1) != 0 ? -1 : 0;  // the platform's true is -1
      break;
    case DUK_TYPE_NUMBER:
      result = duk_get_number(ctx, -1);
      break;
    case DUK_TYPE_STRING:
      if (!duk_is_symbol(ctx, -1)) {
        duk_size_t size = 0;
        const char* bytes = duk_get_lstring(ctx, -1, &size);
        result = numberValueFromText(std::string_view(bytes, size));
      }
      break;
    default:
      break;
  }
  duk_pop(ctx);
  return result;
}

Text ScriptEngine::Heap::popText() {
  if (context_ == nullptr) return {};
  duk_context* ctx = context_;
  if (duk_is_null_or_undefined(ctx, -1)) {
    duk_pop(ctx);
    return {};
  }
  if (!duk_is_string(ctx, -1) || duk_is_symbol(ctx, -1)) {
    if (protectedCall(&convertToString, nullptr, 1, 1) != DUK_EXEC_SUCCESS) {
      if (context_ != nullptr) recordThrown({});
      return {};
    }
  }
  Text result = textFromEngineString(ctx, -1);
  duk_pop(ctx);
  return result;
}

}  // namespace sp
