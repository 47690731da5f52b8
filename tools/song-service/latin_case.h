// Case-blind comparison for Latin letters in UTF-8 texts.
#pragma once

#include <string>
#include <string_view>

namespace songservice {

// The text's code points with the upper-case Latin letters of ASCII and of
// Latin-1 lowered. A byte that is not part of valid UTF-8 becomes a code point
// that no valid text holds, so it never matches a real letter.
std::u32string foldLatinCase(std::string_view utf8);

// True when the haystack contains the needle, Latin letters compared without case.
bool containsIgnoringLatinCase(std::string_view haystack, std::string_view needle);

}  // namespace songservice
