#include "json/value_reading.h"

#include <cctype>
#include <charconv>

namespace sp {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Only the plain decimal form counts: from_chars alone would also take "inf",
// "nan" and hexadecimal-looking prefixes.
bool isDecimalNumber(std::string_view text) {
  std::size_t i = 0;
  const auto digitsFrom = [&](std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && isDigit(text[end])) ++end;
    return end - from;
  };
  std::size_t count = digitsFrom(i);
  i += count;
  if (i < text.size() && text[i] == '.') {
    ++i;
    const std::size_t fraction = digitsFrom(i);
    i += fraction;
    count += fraction;
  }
  if (count == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t exponent = digitsFrom(i);
    if (exponent == 0) return false;
    i += exponent;
  }
  return i == text.size();
}

bool equalsIgnoringCase(std::string_view text, std::string_view lowerWord) {
  if (text.size() != lowerWord.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != lowerWord[i]) return false;
  }
  return true;
}

}  // namespace

std::optional<double> numberFromText(std::string_view text) {
  text = trimmed(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (!isDecimalNumber(text)) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (end != text.data() + text.size()) return std::nullopt;
  if (error == std::errc::result_out_of_range) return std::nullopt;
  return negative ? -value : value;
}

std::optional<bool> truthWordFromText(std::string_view text) {
  text = trimmed(text);
  if (equalsIgnoringCase(text, "true")) return true;
  if (equalsIgnoringCase(text, "false")) return false;
  return std::nullopt;
}

bool truthFromText(std::string_view text) {
  if (const auto number = numberFromText(text)) return *number != 0;
  return truthWordFromText(text).value_or(false);
}

double numberValueFromText(std::string_view text) {
  return numberFromText(text).value_or(0);
}

}  // namespace sp
