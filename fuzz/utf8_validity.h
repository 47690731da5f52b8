// A strict UTF-8 validator written apart from the converters it judges: shortest
// forms only, no surrogates, nothing above U+10FFFF, no truncated sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sp::fuzz {

struct Utf8Lead {
  uint8_t mask;     // the bits that identify the lead byte
  uint8_t pattern;  // their value
  std::size_t length;
  uint32_t smallest;  // anything below has a shorter form
};

inline constexpr Utf8Lead kUtf8Leads[] = {
    {0xE0, 0xC0, 2, 0x80},
    {0xF0, 0xE0, 3, 0x800},
    {0xF8, 0xF0, 4, 0x10000},
};

inline bool isValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<uint8_t>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    const Utf8Lead* kind = nullptr;
    for (const Utf8Lead& candidate : kUtf8Leads) {
      if ((lead & candidate.mask) == candidate.pattern) kind = &candidate;
    }
    // A continuation byte without a lead, or 0xF8 and above.
    if (kind == nullptr) return false;
    if (bytes.size() - i < kind->length) return false;
    uint32_t codePoint = lead & (0x7Fu >> kind->length);
    for (std::size_t k = 1; k < kind->length; ++k) {
      const auto next = static_cast<uint8_t>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < kind->smallest || codePoint > 0x10FFFF) return false;
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return false;
    i += kind->length;
  }
  return true;
}

// Well-formed UTF-16: every high surrogate followed by a low one, no low one alone.
inline bool isValidUtf16(std::u16string_view units) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (unit >= 0xDC00 && unit <= 0xDFFF) return false;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 == units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF) return false;
      ++i;
    }
  }
  return true;
}

}  // namespace sp::fuzz
