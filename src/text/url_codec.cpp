#include "text/url_codec.h"

#include "text/hex_escape.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace sp {
namespace {

bool isSafe(unsigned char byte) {
  return (byte >= 0x27 && byte <= 0x2A) || byte == '-' || byte == '.' ||
         (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || byte == '_' ||
         (byte >= 'a' && byte <= 'z');
}

}  // namespace

Text urlEncode(const Text& text, bool keepSafe, bool viaUtf8) {
  return urlEncodeBytes(viaUtf8 ? gbkToUtf8(text) : textToBytes(text), keepSafe);
}

Text urlEncodeBytes(const ByteBuffer& bytes, bool keepSafe) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(bytes.view().size() * 3);
  for (const char c : bytes.view()) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0) continue;
    if (keepSafe && isSafe(byte)) {
      encoded += c;
    } else if (byte == ' ') {
      encoded += '+';
    } else {
      encoded += '%';
      encoded += kHexDigits[byte >> 4];
      encoded += kHexDigits[byte & 0x0F];
    }
  }
  return Text(encoded);
}

Text urlDecode(const Text& text, bool fromUtf8) {
  const std::string_view source = text.view();
  std::string decoded;
  decoded.reserve(source.size());
  std::size_t cursor = 0;
  while (cursor < source.size()) {
    const char c = source[cursor];
    if (c == '%') {
      if (const std::optional<unsigned> value = readHexEscape(source.substr(cursor + 1, 2))) {
        decoded += static_cast<char>(*value & 0xFF);
        cursor = std::min(cursor + 3, source.size());
        continue;
      }
      decoded += '%';
    } else if (c == '+') {
      decoded += ' ';
    } else {
      decoded += c;
    }
    ++cursor;
  }
  ByteBuffer bytes(std::move(decoded));
  return fromUtf8 ? utf8ToGbk(bytes) : bytesToText(bytes);
}

}  // namespace sp
