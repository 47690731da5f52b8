#include "json/json_text_check.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "text/gbk_characters.h"

namespace sp {
namespace {

bool isWhite(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool isDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}
bool isHex(unsigned char c) {
  return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

class Checker {
 public:
  explicit Checker(std::string_view text) : text_(text) {}

  bool run() {
    skipWhite();
    if (!at('{') && !at('[')) return false;
    // The value grammar as a loop over an explicit stack of open containers.
    enum class Expect { Value, MemberOrClose, ValueOrClose, AfterValue };
    Expect expect = Expect::Value;
    while (true) {
      skipWhite();
      if (done()) return false;
      const unsigned char c = peek();
      switch (expect) {
        case Expect::MemberOrClose:
          if (c == '}') {
            ++pos_;
            if (!close('{')) return false;
            expect = Expect::AfterValue;
            break;
          }
          if (!member()) return false;
          expect = Expect::Value;
          break;
        case Expect::ValueOrClose:
          if (c == ']') {
            ++pos_;
            if (!close('[')) return false;
            expect = Expect::AfterValue;
            break;
          }
          [[fallthrough]];
        case Expect::Value:
          if (c == '{') {
            ++pos_;
            open_.push_back('{');
            expect = Expect::MemberOrClose;
          } else if (c == '[') {
            ++pos_;
            open_.push_back('[');
            expect = Expect::ValueOrClose;
          } else {
            if (open_.empty() || !scalar()) return false;
            expect = Expect::AfterValue;
          }
          break;
        case Expect::AfterValue:
          if (open_.empty()) return false;  // unreachable: the root closed below
          if (c == ',') {
            ++pos_;
            if (open_.back() == '{') {
              skipWhite();
              if (!member()) return false;
            }
            expect = Expect::Value;
          } else if (c == '}' || c == ']') {
            ++pos_;
            if (!close(c == '}' ? '{' : '[')) return false;
          } else {
            return false;
          }
          break;
      }
      if (expect == Expect::AfterValue && open_.empty()) {
        skipWhite();
        return done();
      }
    }
  }

 private:
  bool done() const { return pos_ >= text_.size(); }
  unsigned char peek() const { return static_cast<unsigned char>(text_[pos_]); }
  bool at(char c) const { return !done() && text_[pos_] == c; }
  void skipWhite() {
    while (!done() && isWhite(peek())) ++pos_;
  }

  bool close(char opener) {
    if (open_.empty() || open_.back() != opener) return false;
    open_.pop_back();
    return true;
  }

  // A member name and its colon.
  bool member() {
    if (!string()) return false;
    skipWhite();
    if (!at(':')) return false;
    ++pos_;
    return true;
  }

  bool scalar() {
    const unsigned char c = peek();
    if (c == '"') return string();
    if (c == '-' || isDigit(c)) return number();
    return word("true") || word("false") || word("null");
  }

  bool word(const char* literal) {
    const std::size_t size = std::strlen(literal);
    if (text_.compare(pos_, size, literal) != 0) return false;
    pos_ += size;
    return true;
  }

  bool string() {
    if (!at('"')) return false;
    ++pos_;
    while (!done()) {
      const unsigned char c = peek();
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (c < 0x20) return false;
      if (c == '\\') {
        ++pos_;
        if (done()) return false;
        const unsigned char e = peek();
        if (e == 'u') {
          for (int i = 1; i <= 4; ++i) {
            if (pos_ + i >= text_.size() || !isHex(static_cast<unsigned char>(text_[pos_ + i]))) {
              return false;
            }
          }
          pos_ += 5;
        } else if (std::strchr("\"\\/bfnrt", e) != nullptr && e != '\0') {
          ++pos_;
        } else {
          return false;
        }
        continue;
      }
      pos_ += gbkCharacterSize(text_, pos_);
    }
    return false;
  }

  bool number() {
    if (at('-')) ++pos_;
    if (at('0')) {
      ++pos_;
    } else if (!done() && isDigit(peek()) && peek() != '0') {
      while (!done() && isDigit(peek())) ++pos_;
    } else {
      return false;
    }
    if (at('.')) {
      ++pos_;
      if (done() || !isDigit(peek())) return false;
      while (!done() && isDigit(peek())) ++pos_;
    }
    if (at('e') || at('E')) {
      ++pos_;
      if (at('+') || at('-')) ++pos_;
      if (done() || !isDigit(peek())) return false;
      while (!done() && isDigit(peek())) ++pos_;
    }
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::vector<char> open_;
};

}  // namespace

bool isJsonContainerText(const Text& text) {
  return Checker(text.view()).run();
}

}  // namespace sp
