// Conversions between byte strings in a code page and UTF-16 code units, through
// cached ICU converters. Internal to the text module.
#pragma once

#include <string>
#include <string_view>

namespace sp::codepage {

inline constexpr const char* kGbk = "windows-936";
inline constexpr const char* kUtf8 = "UTF-8";
inline constexpr const char* kCesu8 = "CESU-8";

// The ICU converter name for a code page number; nullptr when there is none.
const char* converterName(int codePage);

// Both stop at the first NUL (zero byte, zero unit) and never fail on bad input:
// invalid input becomes the replacement character, unmappable characters the
// converter's substitute. An unknown converter gives the empty result.
std::u16string toUtf16(std::string_view bytes, const char* converter);
std::string fromUtf16(std::u16string_view units, const char* converter);

}  // namespace sp::codepage
