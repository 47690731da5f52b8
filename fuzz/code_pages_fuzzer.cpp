// The code-page conversions on arbitrary bytes. Whatever GBK text comes in, the
// UTF-8 handed to the script engine must be valid UTF-8, and the composite
// conversions must agree with the steps they are made of.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "text/text.h"
#include "utf8_validity.h"

namespace {

using sp::ByteBuffer;
using sp::Text;

std::u16string unitsOf(const ByteBuffer& utf16) {
  std::u16string units;
  const std::string_view bytes = utf16.view();
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                   static_cast<uint8_t>(bytes[i + 1]) << 8);
  }
  return units;
}

// A UTF-16 buffer of the conversions: empty, or units without a zero among them
// followed by exactly one zero unit, well formed.
void checkTerminatedUtf16(const ByteBuffer& utf16) {
  if (utf16.empty()) return;
  FUZZ_CHECK(utf16.view().size() % 2 == 0);
  const std::u16string units = unitsOf(utf16);
  FUZZ_CHECK(units.size() >= 2);
  FUZZ_CHECK(units.back() == u'\0');
  const std::u16string_view content(units.data(), units.size() - 1);
  FUZZ_CHECK(content.find(u'\0') == std::u16string_view::npos);
  FUZZ_CHECK(sp::fuzz::isValidUtf16(content));
}

void checkUtf8(const ByteBuffer& utf8) {
  FUZZ_CHECK(utf8.view().find('\0') == std::string_view::npos);
  FUZZ_CHECK(sp::fuzz::isValidUtf8(utf8.view()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const ByteBuffer bytes(data, size);

  // The bytes as a GBK text, the way every text of the program starts out.
  const Text text = sp::bytesToText(bytes);
  const ByteBuffer utf8 = sp::gbkToUtf8(text);
  checkUtf8(utf8);
  FUZZ_CHECK(utf8.empty() == text.empty());
  FUZZ_CHECK(utf8.str() == sp::utf8FromGbk(text));
  const ByteBuffer utf16 = sp::gbkToUtf16(text);
  checkTerminatedUtf16(utf16);
  FUZZ_CHECK(utf16 == sp::multiByteToUtf16(sp::textToBytes(text), sp::kCodePageGbk));
  FUZZ_CHECK(utf8 == sp::utf16ToMultiByte(utf16, sp::kCodePageUtf8));
  // Back to GBK by either road gives the same text.
  FUZZ_CHECK(sp::utf16ToGbk(utf16) == sp::utf8ToGbk(utf8));

  // The bytes as UTF-8 off the network, and as CESU-8 out of the engine.
  const ByteBuffer fromUtf8 = sp::multiByteToUtf16(bytes, sp::kCodePageUtf8);
  checkTerminatedUtf16(fromUtf8);
  FUZZ_CHECK(sp::utf8ToGbk(bytes) == sp::utf16ToGbk(fromUtf8));
  FUZZ_CHECK(sp::gbkFromUtf8(bytes.view()) == sp::utf8ToGbk(bytes));
  (void)sp::cesu8ToGbk(bytes);

  // The bytes as UTF-16 units, lone surrogates and all: UTF-8 made from them is
  // valid too, and an odd last byte is no unit.
  checkUtf8(sp::utf16ToMultiByte(bytes, sp::kCodePageUtf8));
  (void)sp::utf16ToMultiByte(bytes, sp::kCodePageGbk);
  (void)sp::utf16ToGbk(bytes);
  return 0;
}
