#include "json/path_reader.h"

namespace sp {
namespace {

bool isIdentifierStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$';
}
bool isIdentifierPart(char c) {
  return isIdentifierStart(c) || (c >= '0' && c <= '9');
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<std::vector<std::string>> plainChain(std::string_view expression,
                                                   std::string_view rootName) {
  if (rootName.empty() || expression.substr(0, rootName.size()) != rootName) return std::nullopt;
  std::vector<std::string> keys{std::string(rootName)};
  std::size_t i = rootName.size();
  while (i < expression.size()) {
    const char c = expression[i];
    if (c == '.') {
      const std::size_t start = ++i;
      if (i >= expression.size() || !isIdentifierStart(expression[i])) return std::nullopt;
      while (i < expression.size() && isIdentifierPart(expression[i])) ++i;
      keys.emplace_back(expression.substr(start, i - start));
    } else if (c == '[') {
      const std::size_t start = ++i;
      while (i < expression.size() && isDigit(expression[i])) ++i;
      const std::size_t length = i - start;
      // Leading zeros and long numbers read differently as script; leave them to it.
      if (length == 0 || length > 9 || (length > 1 && expression[start] == '0'))
        return std::nullopt;
      if (i >= expression.size() || expression[i] != ']') return std::nullopt;
      keys.emplace_back(expression.substr(start, length));
      ++i;
    } else {
      return std::nullopt;
    }
  }
  return keys;
}

}  // namespace sp
