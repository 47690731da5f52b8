#include <cstring>

#include "json/script_heap.h"
#include "json/support_script.h"

namespace sp {
namespace {

duk_ret_t compileAndDump(duk_context* ctx, void* udata) {
  const std::string_view script = *static_cast<const std::string_view*>(udata);
  duk_push_string(ctx, "support");
  duk_compile_lstring_filename(ctx, 0, script.data(), script.size());
  duk_dump_function(ctx);
  return 1;
}

std::string makeBytecode() {
  const std::shared_ptr<ScriptEngine::Heap> heap = ScriptEngine::Heap::create();
  if (!heap) return {};
  std::string_view script = supportScript();  // plain ASCII, so already valid UTF-8
  if (heap->protectedCall(&compileAndDump, &script, 0, 1) != DUK_EXEC_SUCCESS) {
    if (heap->usable()) duk_pop(heap->context());
    return {};
  }
  duk_size_t size = 0;
  const void* data = duk_get_buffer(heap->context(), -1, &size);
  std::string bytecode(static_cast<const char*>(data), size);
  duk_pop(heap->context());
  return bytecode;
}

}  // namespace

const std::string& supportScriptBytecode() {
  static const std::string bytecode = makeBytecode();
  return bytecode;
}

}  // namespace sp
