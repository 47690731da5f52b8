#include "text/hex_escape.h"

namespace sp {
namespace {

bool isCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::optional<unsigned> hexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  return std::nullopt;
}

}  // namespace

// Written out rather than calling sscanf: the characters come from the network and
// need no format parser. A "0x" prefix can only stand for the value 0 in two
// characters, which its digit '0' gives anyway.
std::optional<unsigned> readHexEscape(std::string_view chars) {
  std::size_t i = 0;
  while (i < chars.size() && isCSpace(chars[i])) ++i;
  bool negative = false;
  if (i < chars.size() && (chars[i] == '+' || chars[i] == '-')) {
    negative = chars[i] == '-';
    ++i;
  }
  std::optional<unsigned> value;
  for (; i < chars.size(); ++i) {
    const std::optional<unsigned> digit = hexDigit(chars[i]);
    if (!digit) break;
    value = value.value_or(0) * 16 + *digit;
  }
  if (value && negative) value = 0u - *value;
  return value;
}

}  // namespace sp
