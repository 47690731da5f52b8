// The URL codec on arbitrary texts: the encoder's alphabet and length bound, the
// round trip, and the decoder against the C library's "%x" reading it imitates.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "text/text.h"
#include "text/url_codec.h"

namespace {

using sp::ByteBuffer;
using sp::Text;

bool isEncoderOutputChar(char c, bool keepSafe) {
  const bool hexOrEscape = c == '%' || c == '+' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
  if (!keepSafe) return hexOrEscape;
  return hexOrEscape || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         std::string_view("'()*-._").find(c) != std::string_view::npos;
}

void checkEncoding(const Text& encoded, std::size_t sourceLength, bool keepSafe) {
  FUZZ_CHECK(encoded.view().size() <= 3 * sourceLength);
  FUZZ_CHECK(std::all_of(encoded.view().begin(), encoded.view().end(),
                         [keepSafe](char c) { return isEncoderOutputChar(c, keepSafe); }));
}

// The decoder as written with sscanf itself: the reading every input must match.
std::string decodeWithScanf(std::string_view text) {
  std::string decoded;
  std::size_t cursor = 0;
  while (cursor < text.size()) {
    const char c = text[cursor];
    if (c == '%') {
      char escape[3] = {};
      text.substr(cursor + 1).copy(escape, 2);
      unsigned value = 0;
      if (std::sscanf(escape, "%x", &value) == 1) {
        decoded += static_cast<char>(value & 0xFF);
        cursor = std::min(cursor + 3, text.size());
        continue;
      }
    }
    decoded += c == '+' ? ' ' : c;
    ++cursor;
  }
  return decoded.substr(0, decoded.find('\0'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const ByteBuffer bytes(data, size);
  const Text text = sp::bytesToText(bytes);

  for (const bool keepSafe : {true, false}) {
    // GBK bytes as they are: every text comes back whole.
    const Text encoded = sp::urlEncode(text, keepSafe, false);
    checkEncoding(encoded, text.view().size(), keepSafe);
    FUZZ_CHECK(sp::urlDecode(encoded, false) == text);

    // Via UTF-8: whole again wherever the text survives the trip through UTF-8.
    const ByteBuffer utf8 = sp::gbkToUtf8(text);
    const Text encodedUtf8 = sp::urlEncode(text, keepSafe, true);
    checkEncoding(encodedUtf8, utf8.view().size(), keepSafe);
    FUZZ_CHECK(encodedUtf8 == sp::urlEncodeBytes(utf8, keepSafe));
    if (sp::utf8ToGbk(utf8) == text) FUZZ_CHECK(sp::urlDecode(encodedUtf8, true) == text);

    // Raw bytes: zero bytes vanish, everything else comes back.
    const Text encodedBytes = sp::urlEncodeBytes(bytes, keepSafe);
    checkEncoding(encodedBytes, size, keepSafe);
    std::string withoutZeros(bytes.view());
    std::erase(withoutZeros, '\0');
    FUZZ_CHECK(sp::urlDecode(encodedBytes, false).str() == withoutZeros);
  }

  // Decoding arbitrary text: never longer, equal to the scanf reading, and the
  // UTF-8 form is the plain decoding converted.
  const Text decoded = sp::urlDecode(text, false);
  FUZZ_CHECK(decoded.view().size() <= text.view().size());
  FUZZ_CHECK(decoded.str() == decodeWithScanf(text.view()));
  FUZZ_CHECK(sp::urlDecode(text, true) == sp::utf8ToGbk(sp::textToBytes(decoded)));
  return 0;
}
