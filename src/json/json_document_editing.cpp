// The operations that change a document. Each result is the truth value of what
// its expression produces, not a success flag.
#include <charconv>
#include <string>

#include "text/gbk_characters.h"
#include "json/json_document.h"

namespace sp {
namespace {

// Makes a text safe inside an apostrophe-quoted script string. Double-byte
// characters pass whole, so a trail byte is never taken for a backslash.
// A lead byte without its trail byte is written as the replacement character the
// converter would make of it: left in place it would take the backslash of a
// following escape for its trail byte, and the quote after it would end the string.
Text escapedForQuotes(const Text& text) {
  const std::string_view bytes = text.view();
  std::string escaped;
  escaped.reserve(bytes.size() + 8);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (isGbkLeadByte(static_cast<unsigned char>(c))) {
      if (gbkCharacterSize(bytes, i) == 2) {
        escaped.append(bytes.substr(i, 2));
        ++i;
      } else {
        escaped += "\\uFFFD";
      }
      continue;
    }
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\'':
        escaped += "\\'";
        break;
      case '"':
        escaped += "\\\"";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\n':
        escaped += "\\n";
        break;
      default:
        escaped += c;
        break;
    }
  }
  return Text(escaped);
}

Text quoted(const Text& value) {
  return joinTexts("'", value, "'");
}

Text decimal(int32_t number) {
  return Text(std::to_string(number));
}

// "%.13g" without the C library's locale: a decimal comma would break the script.
Text numberText(double value) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 13);
  return Text(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

}  // namespace

bool JsonDocument::clear() {
  return engine_.evalBool(joinTexts(name_, " = {}"));
}

bool JsonDocument::setProperty(const Text& path, const Text& value, bool asObject) {
  Text full = path;
  const bool exists = resolvePath(full);
  if (!asObject) {
    return engine_.evalBool(
        joinTexts(full, " = '", escapedForQuotes(value), "'.replace(/\\\\/g, str_Code)"));
  }
  const Text tag = engine_.evalText(joinTexts("Object.prototype.toString.call(", full, ")"));
  if (exists && tag == Text("[object Object]")) {
    return engine_.evalBool(
        joinTexts(full, " = get__extend(", full, ", ", value.empty() ? Text("{}") : value, ")"));
  }
  return engine_.evalBool(joinTexts(full, " = eval(", value, ")"));
}

bool JsonDocument::setByExpression(const Text& path, const Text& expression) {
  return engine_.evalBool(joinTexts(resolved(path), " = eval(", expression, ")"));
}

bool JsonDocument::arrayAdd(const Text& value, const Text& path, bool raw, bool atFront) {
  const Text full = resolved(path);
  return engine_.evalBool(joinTexts("if (Object.prototype.toString.call(", full,
                                    ") != '[object Array]') { ", full, " = new Array() } ", full,
                                    atFront ? ".unshift(" : ".push(", raw ? value : quoted(value),
                                    ")"));
}

bool JsonDocument::arraySetItem(int32_t index, const Text& path, const Text& value, bool raw) {
  return engine_.evalBool(
      joinTexts(resolved(path), "[", decimal(index), "] = ", raw ? value : quoted(value)));
}

bool JsonDocument::arrayRemoveItem(int32_t index, const Text& path) {
  return engine_.evalBool(joinTexts(resolved(path), ".splice(", decimal(index), ", 1)"));
}

bool JsonDocument::deleteProperty(const Text& path) {
  return engine_.evalBool(joinTexts("delete ", resolved(path)));
}

bool JsonDocument::setNumber(const Text& path, double value) {
  return engine_.evalBool(joinTexts(resolved(path), " = ", numberText(value)));
}

}  // namespace sp
