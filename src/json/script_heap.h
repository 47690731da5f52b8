// The Duktape heap behind a ScriptEngine: a memory cap, a fatal handler that
// unwinds instead of aborting, protected calls, and the conversions of values
// into truth values, numbers and GBK texts.
#pragma once

#include <duktape.h>

#include <csetjmp>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "json/script_engine.h"
#include "text/text.h"

namespace sp {

class ScriptEngine::Heap {
 public:
  // Enough for answers far larger than any search gives; a runaway script meets
  // the cap as an "alloc failed" error instead of exhausting the machine.
  static constexpr std::size_t kDefaultMemoryCap = std::size_t{256} << 20;

  // Empty when Duktape cannot make a heap.
  static std::shared_ptr<Heap> create(std::size_t memoryCap = kDefaultMemoryCap);
  ~Heap();
  Heap(const Heap&) = delete;
  Heap& operator=(const Heap&) = delete;

  // False once a fatal error has left the heap unusable.
  bool usable() const { return context_ != nullptr; }
  duk_context* context() const { return context_; }
  std::size_t memoryUsed() const { return used_; }

  // duk_safe_call under the fatal guard. After a fatal error the heap is never
  // touched again and the call reports DUK_EXEC_ERROR with nothing pushed.
  duk_int_t protectedCall(duk_safe_call_function body, void* udata, duk_idx_t nargs,
                          duk_idx_t nrets);

  // Runs text as global code. On success the completion value is on the stack
  // top and the last error is cleared; on failure the error is recorded and
  // nothing is left on the stack.
  // Trusted code is the program's own fixed text: it defines no getters, proxies
  // or built-ins. Any other code marks the heap as possibly holding them.
  bool runGlobalCode(const Text& source, bool trusted = false);
  // True while only trusted code and JSON decoding have touched the heap: every
  // value is then plain data and every built-in the engine's own.
  bool plainDataOnly() const { return plainDataOnly_; }
  // The same for a function dumped with duk_dump_function.
  bool runBytecode(std::string_view bytecode);

  // Each takes the value on the stack top, pops it and converts it.
  bool popBool();
  double popNumber();
  Text popText();

  // Reading plain paths without the compiler. Each gives up (nullopt, nothing
  // left on the stack, no code run) wherever the script could behave otherwise:
  // a step that is no own data property of an object (a getter, a proxy, an
  // inherited or missing member), or a changed built-in; the caller then
  // evaluates the expression as script, which gives the same result and error.
  //
  // Pushes the value that the keys lead to from the global object.
  bool pushPlainChainValue(const std::vector<std::string>& keys);
  // Pops the value; true when it is neither null nor undefined.
  bool popIsSet();
  // Pops a value and gives the text of P.toString() (a string value only) or of
  // JSON.stringify(P) with ".replace(str_reg, '\\')" applied, P being the value;
  // the placeholders are replaced here, the built-ins being the engine's own.
  std::optional<Text> popWithBackslashes(bool asJson);
  // Notes the global str_reg as it stands now, right after a document's init.
  void rememberPlaceholderPattern();
  // Assigns the value of a JSON text to a global variable through the engine's
  // JSON decoder; false (nothing changed) when the decoder refuses the text.
  bool assignGlobalFromJson(const char* name, const Text& json);

  void clearError() { error_ = EngineError{}; }
  // Takes the thrown value on the stack top, pops it, and records it.
  void recordThrown(const Text& source);
  void recordFailure(const char* description);
  const EngineError& lastError() const { return error_; }

 private:
  // Every allocation carries a header that links it into the heap's list, so a
  // heap abandoned after a fatal error can still be freed block by block.
  struct alignas(std::max_align_t) Block {
    Block* previous;
    Block* next;
    std::size_t size;
  };

  explicit Heap(std::size_t memoryCap);

  static void* allocate(void* udata, duk_size_t size);
  static void* reallocate(void* udata, void* pointer, duk_size_t size);
  static void release(void* udata, void* pointer);
  [[noreturn]] static void fatal(void* udata, const char* message);

  void link(Block* block);
  static void unlink(Block* block);
  void freeAllBlocks();
  void recordFatal();
  // Replaces the top value by its primitive value; false (value popped, error
  // recorded) when that throws.
  bool toPrimitive();

  duk_context* context_ = nullptr;
  std::size_t cap_;
  std::size_t used_ = 0;
  Block blocks_{&blocks_, &blocks_, 0};  // sentinel of the circular list
  std::jmp_buf* fatalJump_ = nullptr;
  // Built-ins as the heap was made, and the placeholder pattern after init.
  void* stringPrototype_ = nullptr;
  void* originalToString_ = nullptr;
  void* originalReplace_ = nullptr;
  void* originalJson_ = nullptr;
  void* originalStringify_ = nullptr;
  void* placeholderPattern_ = nullptr;
  bool plainDataOnly_ = true;
  char fatalMessage_[128] = {};
  EngineError error_;
};

}  // namespace sp
