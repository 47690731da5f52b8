#include "plain_json_reader.h"

#include <cstdint>
#include <optional>

namespace sp::bench {

namespace {

void appendUtf8(std::string& out, uint32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

class Cursor {
 public:
  explicit Cursor(std::string_view json) : json_(json) {}

  bool atEnd() const { return at_ >= json_.size(); }
  char peek() const { return json_[at_]; }
  void skipSpace() {
    while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) ++at_;
  }

  // A string starting at the opening quote, escapes undone.
  std::optional<std::string> string() {
    std::string out;
    ++at_;
    while (!atEnd()) {
      const char c = json_[at_++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (atEnd()) return std::nullopt;
      const char escaped = json_[at_++];
      switch (escaped) {
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          const auto unit = hex4();
          if (!unit) return std::nullopt;
          uint32_t codePoint = *unit;
          if (codePoint >= 0xD800 && codePoint < 0xDC00 && json_.substr(at_, 2) == "\\u") {
            at_ += 2;
            const auto low = hex4();
            if (!low) return std::nullopt;
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (*low - 0xDC00);
          }
          appendUtf8(out, codePoint);
          break;
        }
        default:
          out += escaped;
      }
    }
    return std::nullopt;
  }

  // A number or a literal: everything up to the next delimiter.
  void skipScalar() {
    while (!atEnd() && peek() != ',' && peek() != '}' && peek() != ']' && peek() != ' ' &&
           peek() != '\n' && peek() != '\r' && peek() != '\t') {
      ++at_;
    }
  }
  void advance() { ++at_; }

 private:
  std::optional<uint32_t> hex4() {
    if (at_ + 4 > json_.size()) return std::nullopt;
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = json_[at_++];
      value <<= 4;
      if (c >= '0' && c <= '9')
        value |= static_cast<uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f')
        value |= static_cast<uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        value |= static_cast<uint32_t>(c - 'A' + 10);
      else
        return std::nullopt;
    }
    return value;
  }

  std::string_view json_;
  std::size_t at_ = 0;
};

struct Frame {
  bool object = false;
  bool expectKey = false;
  std::string key;  // the member being read, in an object
};

}  // namespace

std::vector<PlainHit> readPlainHits(std::string_view json) {
  std::vector<PlainHit> hits;
  std::vector<Frame> stack;
  Cursor cursor(json);
  // Depth 1: the root object; 2: its "list" array; 3: one hit.
  const auto inList = [&stack] {
    return stack.size() == 2 && stack[0].object && stack[0].key == "list" && !stack[1].object;
  };
  const auto inHit = [&stack] {
    return stack.size() == 3 && stack[0].key == "list" && !stack[1].object && stack[2].object;
  };
  for (cursor.skipSpace(); !cursor.atEnd(); cursor.skipSpace()) {
    const char c = cursor.peek();
    switch (c) {
      case '{':
        if (inList()) hits.emplace_back();
        stack.push_back(Frame{true, true, {}});
        cursor.advance();
        break;
      case '[':
        stack.push_back(Frame{false, false, {}});
        cursor.advance();
        break;
      case '}':
      case ']':
        if (stack.empty() || stack.back().object != (c == '}')) return {};
        stack.pop_back();
        cursor.advance();
        if (stack.empty()) return hits;
        break;
      case ',':
        if (stack.empty()) return {};
        stack.back().expectKey = stack.back().object;
        cursor.advance();
        break;
      case ':':
        if (stack.empty() || !stack.back().object) return {};
        cursor.advance();
        break;
      case '"': {
        std::optional<std::string> text = cursor.string();
        if (!text || stack.empty()) return {};
        Frame& top = stack.back();
        if (top.object && top.expectKey) {
          top.key = std::move(*text);
          top.expectKey = false;
        } else if (inHit() && top.key == "name") {
          hits.back().name = std::move(*text);
        } else if (inHit() && top.key == "singer") {
          hits.back().singer = std::move(*text);
        }
        break;
      }
      default:
        if (stack.empty()) return {};
        cursor.skipScalar();
    }
  }
  return {};  // the root never closed
}

}  // namespace sp::bench
