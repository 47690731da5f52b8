#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "text/hex_escape.h"
#include "text/text.h"
#include "text/url_codec.h"

namespace sp {
namespace {

using namespace std::string_literals;

struct EncodeCase {
  const char* name;
  std::string text;
  bool keepSafe;
  bool viaUtf8;
  std::string expected;
};

TEST(UrlEncode, EncodesAsTheServiceExpects) {
  const EncodeCase cases[] = {
      {"empty", "", true, true, ""},
      {"space becomes plus", "a b", true, true, "a+b"},
      {"safe characters stay", "A-Z_0.9*'()", true, true, "A-Z_0.9*'()"},
      {"GBK 中 goes out as UTF-8", "\xD6\xD0", true, true, "%E4%B8%AD"},
      {"晴天", "\xC7\xE7\xCC\xEC", true, true, "%E6%99%B4%E5%A4%A9"},
      {"GBK bytes as they are", "\xD6\xD0", true, false, "%D6%D0"},
      {"reserved characters", "1+1=2&x%", true, true, "1%2B1%3D2%26x%25"},
      {"! and ~ are not safe", "!~", true, true, "%21%7E"},
      {"without keepSafe only the space stays short", "a b-", false, true, "%61+%62%2D"},
      {"昞 is one character", "\x95\x5C", true, true, "%E6%98%9E"},
  };
  for (const EncodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(urlEncode(Text(c.text), c.keepSafe, c.viaUtf8).str(), c.expected);
  }
}

TEST(UrlEncodeBytes, TreatsEveryByteValueByItsClass) {
  const std::string safe = "'()*-.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
  for (int value = 1; value <= 0xFF; ++value) {
    const auto byte = static_cast<char>(value);
    char escaped[4];
    std::snprintf(escaped, sizeof escaped, "%%%02X", value);
    const std::string expectedSafe = safe.find(byte) != std::string::npos
                                         ? std::string(1, byte)
                                         : (value == ' ' ? "+" : escaped);
    const std::string expectedUnsafe = value == ' ' ? "+" : escaped;
    SCOPED_TRACE(value);
    EXPECT_EQ(urlEncodeBytes(ByteBuffer(std::string(1, byte)), true).str(), expectedSafe);
    EXPECT_EQ(urlEncodeBytes(ByteBuffer(std::string(1, byte)), false).str(), expectedUnsafe);
  }
}

TEST(UrlEncodeBytes, DropsZeroBytesAndStaysWithinThreeTimesTheLength) {
  EXPECT_EQ(urlEncodeBytes(ByteBuffer("a\0b"s), true).str(), "ab");
  EXPECT_EQ(urlEncodeBytes(ByteBuffer("\0\0"s), true).str(), "");
  EXPECT_EQ(urlEncodeBytes(ByteBuffer(), true).str(), "");

  std::string everyByte;
  for (int round = 0; round < 100; ++round) {
    for (int value = 0; value <= 0xFF; ++value) everyByte += static_cast<char>(value);
  }
  for (const bool keepSafe : {true, false}) {
    const Text encoded = urlEncodeBytes(ByteBuffer(everyByte), keepSafe);
    EXPECT_LE(encoded.length(), 3 * static_cast<int32_t>(everyByte.size()));
    EXPECT_EQ(
        encoded.view().find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                         "0123456789'()*-._+%"),
        std::string_view::npos);
    std::string withoutZeros = everyByte;
    std::erase(withoutZeros, '\0');
    EXPECT_TRUE(urlDecode(encoded, false).str() == withoutZeros);
  }
}

struct DecodeCase {
  const char* name;
  std::string text;
  std::string expected;
};

TEST(UrlDecode, FromUtf8ReadsTheDecodedBytesAsUtf8) {
  const DecodeCase cases[] = {
      {"empty", "", ""},
      {"escapes and plus", "a%20b+c", "a b c"},
      {"lower-case digits", "%e4%b8%ad", "\xD6\xD0"},
      {"decoded NUL ends the text", "ab%00cd", "ab"},
      {"invalid UTF-8 is replaced and decoding goes on", "%FFab", "?ab"},
      {"a decoded plus is no space", "%2B", "+"},
      {"plus and escape inside JSON", "{\"name\":\"a+b%41\"}", "{\"name\":\"a bA\"}"},
      {"raw UTF-8 in the answer", "\xE6\x98\x9E+1", "\x95\x5C 1"},
      {"character outside GBK", "a%F0%9F%98%80b", "a?b"},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(urlDecode(Text(c.text), true).str(), c.expected);
  }
}

TEST(UrlDecode, ReadsEscapesAsPercentXDoes) {
  const DecodeCase cases[] = {
      {"lone percent at the end", "100%", "100%"},
      {"no hexadecimal digit", "%zz", "%zz"},
      {"the character after one digit is consumed", "%4z", "\x04"},
      {"and decoding goes on after it", "%4zq", "\x04q"},
      {"leading space", "% 4", "\x04"},
      {"leading tab", "%\t4", "\x04"},
      {"minus sign", "%-1", "\xFF"},
      {"minus sign, larger digit", "%-f", "\xF1"},
      {"plus sign", "%+f", "\x0F"},
      {"sign without digit", "%-z", "%-z"},
      {"cut short by the end of text", "x%4", "x\x04"},
      {"one digit at the end", "%1", "\x01"},
      {"a percent sign before an escape", "%%41", "%A"},
      {"white space only", "% ", "% "},
      {"0x reads as zero and ends the text", "ab%0x41", "ab"},
      {"plus becomes space", "a+b", "a b"},
      {"GBK bytes stay", "\xD6\xD0+", "\xD6\xD0 "},
      {"%00 ends the text", "ab%00cd", "ab"},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(urlDecode(Text(c.text), false).str(), c.expected);
  }
}

TEST(UrlDecode, UndoesUrlEncode) {
  std::string longText;
  for (int i = 0; i < 50000; ++i) longText += "\xC7\xE7\x95\x5C a+b%";
  for (const std::string& text :
       {"a b"s, "\xD6\xD0\xCE\xC4"s, "1+1=2&x%"s, "!~\x95\x5C\\|"s, longText}) {
    EXPECT_TRUE(urlDecode(urlEncode(Text(text), true, true), true).str() == text);
    EXPECT_TRUE(urlDecode(urlEncode(Text(text), false, false), false).str() == text);
  }
}

std::optional<unsigned> scanHex(const std::string& chars) {
  unsigned value = 0;
  if (std::sscanf(chars.c_str(), "%x", &value) == 1) return value;
  return std::nullopt;
}

// The C library's "%x" is the reference for every string the decoder can hand over:
// the empty one and every one or two non-NUL bytes.
TEST(ReadHexEscape, AgreesWithPercentXOnEveryShortString) {
  ASSERT_EQ(readHexEscape(""), scanHex(""));
  int mismatches = 0;
  for (int first = 1; first <= 0xFF; ++first) {
    const std::string one(1, static_cast<char>(first));
    if (readHexEscape(one) != scanHex(one)) ++mismatches;
    for (int second = 1; second <= 0xFF; ++second) {
      const std::string two{static_cast<char>(first), static_cast<char>(second)};
      if (readHexEscape(two) != scanHex(two)) {
        ADD_FAILURE() << "differs on bytes " << first << ", " << second;
        if (++mismatches > 10) return;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace sp
