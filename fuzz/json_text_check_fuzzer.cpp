// The JSON gate in front of the script engine on arbitrary GBK texts. Whatever it
// lets through must be plain JSON data to the engine too: the engine's own
// JSON.parse, given the UTF-8 the engine would get, must accept it as an object or
// an array. Otherwise the gate could pass a text that the engine reads as script.
#include <duktape.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "json/json_text_check.h"
#include "text/text.h"

namespace {

struct Utf8Source {
  const char* data;
  std::size_t size;
};

duk_ret_t parseJson(duk_context* context, void* udata) {
  const auto* source = static_cast<const Utf8Source*>(udata);
  duk_push_lstring(context, source->data, source->size);
  duk_json_decode(context, -1);
  return 1;
}

// True when JSON.parse accepts the text and gives an object or an array, or
// refuses it only for a number it cannot hold: Duktape gives up on exponents of
// about a thousand million and more, valid JSON that it reads neither as data nor
// as script.
bool engineReadsAsContainer(const sp::ByteBuffer& utf8) {
  // One heap for the whole run: making one per input would cost more than the check.
  static duk_context* const context = duk_create_heap_default();
  FUZZ_CHECK(context != nullptr);
  Utf8Source source{reinterpret_cast<const char*>(utf8.data()), utf8.view().size()};
  bool container = false;
  if (duk_safe_call(context, parseJson, &source, 0, 1) == DUK_EXEC_SUCCESS) {
    container =
        duk_is_array(context, -1) || (duk_is_object(context, -1) && !duk_is_function(context, -1));
  } else {
    container =
        std::string_view(duk_safe_to_string(context, -1)) == "RangeError: exponent too large";
  }
  duk_pop(context);
  return container;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const sp::Text text = sp::bytesToText(sp::ByteBuffer(data, size));
  if (!sp::isJsonContainerText(text)) return 0;
  FUZZ_CHECK(engineReadsAsContainer(sp::gbkToUtf8(text)));
  return 0;
}
