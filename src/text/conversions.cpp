// The code-page operations on texts and buffers. UTF-16 buffers hold
// little-endian code units and end with one zero unit.
#include <string>

#include "text/code_page.h"
#include "text/text.h"

namespace sp {
namespace {

std::u16string unitsOf(const ByteBuffer& utf16) {
  const std::string_view bytes = utf16.view();
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return units;
}

// The terminating zero unit belongs to the buffer; an empty conversion stays empty.
ByteBuffer terminatedBufferOf(std::u16string_view units) {
  if (units.empty()) return {};
  std::string bytes((units.size() + 1) * 2, '\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    bytes[2 * i] = static_cast<char>(units[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  return ByteBuffer(std::move(bytes));
}

}  // namespace

ByteBuffer multiByteToUtf16(const ByteBuffer& bytes, int codePage) {
  return terminatedBufferOf(codepage::toUtf16(bytes.view(), codepage::converterName(codePage)));
}

ByteBuffer utf16ToMultiByte(const ByteBuffer& utf16, int codePage) {
  return ByteBuffer(codepage::fromUtf16(unitsOf(utf16), codepage::converterName(codePage)));
}

ByteBuffer gbkToUtf16(const Text& text) {
  return terminatedBufferOf(codepage::toUtf16(text.view(), codepage::kGbk));
}

Text utf16ToGbk(const ByteBuffer& utf16) {
  return Text(codepage::fromUtf16(unitsOf(utf16), codepage::kGbk));
}

ByteBuffer gbkToUtf8(const Text& text) {
  return ByteBuffer(
      codepage::fromUtf16(codepage::toUtf16(text.view(), codepage::kGbk), codepage::kUtf8));
}

Text utf8ToGbk(const ByteBuffer& utf8) {
  return Text(codepage::fromUtf16(codepage::toUtf16(utf8.view(), codepage::kUtf8), codepage::kGbk));
}

Text cesu8ToGbk(const ByteBuffer& cesu8) {
  return Text(
      codepage::fromUtf16(codepage::toUtf16(cesu8.view(), codepage::kCesu8), codepage::kGbk));
}

Text gbkFromUtf8(std::string_view utf8) {
  return Text(codepage::fromUtf16(codepage::toUtf16(utf8, codepage::kUtf8), codepage::kGbk));
}

std::string utf8FromGbk(const Text& text) {
  return codepage::fromUtf16(codepage::toUtf16(text.view(), codepage::kGbk), codepage::kUtf8);
}

}  // namespace sp
