#include "latin_case.h"

#include <cstdint>

namespace songservice {
namespace {

// Beyond the Unicode range, so it never equals a decoded character.
constexpr char32_t kInvalidBase = 0x110000;

char32_t lowerLatin(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  // Latin-1 capitals À..Þ, except the multiplication sign ×.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  return c;
}

// Length of the UTF-8 sequence that starts with this byte, 0 when it cannot start one.
int sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

std::u32string foldLatinCase(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = sequenceLength(lead);
    bool valid = length > 0 && i + static_cast<std::size_t>(length) <= utf8.size();
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms and surrogates are not valid UTF-8 either.
    if (valid && ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
                  (c >= 0xD800 && c <= 0xDFFF))) {
      valid = false;
    }
    if (valid) {
      out.push_back(lowerLatin(c));
      i += static_cast<std::size_t>(length);
    } else {
      out.push_back(kInvalidBase + lead);
      ++i;
    }
  }
  return out;
}

bool containsIgnoringLatinCase(std::string_view haystack, std::string_view needle) {
  return foldLatinCase(haystack).find(foldLatinCase(needle)) != std::u32string::npos;
}

}  // namespace songservice
