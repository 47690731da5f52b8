// How the engine's text values read as numbers and truth values when a caller
// asks for a number or a truth value instead of a text.
#pragma once

#include <optional>
#include <string_view>

namespace sp {

// A decimal number, optionally signed, with an optional fraction and exponent,
// between optional blanks ("12", " -1.5e3 ", ".5"). Hexadecimal, "Infinity" and
// the empty text do not read as numbers.
std::optional<double> numberFromText(std::string_view text);

// "true" or "false" in any letter case, between optional blanks.
std::optional<bool> truthWordFromText(std::string_view text);

// A text is true where it reads as a non-zero number or as the word true.
bool truthFromText(std::string_view text);

// A text that reads as a number gives that number, any other text 0.
double numberValueFromText(std::string_view text);

}  // namespace sp
