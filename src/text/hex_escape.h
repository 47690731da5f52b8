// Reading the escape after a "%" in a URL-encoded text. Internal to the text module.
#pragma once

#include <optional>
#include <string_view>

namespace sp {

// What sscanf's "%x" stores when it reads chars (the at most two characters after
// a "%"): white space, then an optional sign, then hexadecimal digits, negated
// modulo 2^32 after a minus. Nothing when no digit follows.
std::optional<unsigned> readHexEscape(std::string_view chars);

}  // namespace sp
