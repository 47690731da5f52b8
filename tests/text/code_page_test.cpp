#include <gtest/gtest.h>

#include <string>

#include "text/text.h"

namespace sp {
namespace {

using namespace std::string_literals;

// Readable failure output for byte strings.
std::string hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (!out.empty()) out += ' ';
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
  }
  return out;
}

struct ConversionCase {
  const char* name;
  std::string input;
  std::string expected;
};

TEST(GbkToUtf16, GivesLittleEndianUnitsWithAZeroUnit) {
  const ConversionCase cases[] = {
      {"empty", "", ""},
      {"abc", "abc", "a\0b\0c\0\0\0"s},
      {"中", "\xD6\xD0", "\x2D\x4E\0\0"s},
      {"昞 keeps its 0x5C trail byte", "\x95\x5C", "\x1E\x66\0\0"s},
      {"0x80 is the euro sign", "\x80", "\xAC\x20\0\0"s},
      {"a lone 0xFF maps into the private use area", "\xFF", "\xF5\xF8\0\0"s},
      {"a lead byte at the end becomes the replacement character", "a\x81", "a\0\xFD\xFF\0\0"s},
      {"an invalid trail byte does not swallow the next character", "\x81 z",
       "\xFD\xFF \0z\0\0\0"s},
  };
  for (const ConversionCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(hex(gbkToUtf16(Text(c.input)).str()), hex(c.expected));
  }
}

TEST(MultiByteToUtf16, StopsAtTheFirstNulAndKnowsBothCodePages) {
  struct Case {
    const char* name;
    std::string input;
    int codePage;
    std::string expected;
  } const cases[] = {
      {"UTF-8 with an embedded NUL", "A\0B"s, kCodePageUtf8, "A\0\0\0"s},
      {"UTF-8 starting with NUL", "\0A"s, kCodePageUtf8, ""},
      {"UTF-8 empty", "", kCodePageUtf8, ""},
      {"UTF-8 中", "\xE4\xB8\xAD", kCodePageUtf8, "\x2D\x4E\0\0"s},
      {"GBK 中", "\xD6\xD0", kCodePageGbk, "\x2D\x4E\0\0"s},
      {"GBK after NUL ignored", "\xD6\xD0\0\xD6\xD0"s, kCodePageGbk, "\x2D\x4E\0\0"s},
      {"an unknown code page gives nothing", "abc", 12345, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(hex(multiByteToUtf16(ByteBuffer(c.input), c.codePage).str()), hex(c.expected));
  }
}

TEST(Utf16ToMultiByte, StopsAtTheFirstZeroUnitAndAddsNoTerminator) {
  struct Case {
    const char* name;
    std::string input;
    int codePage;
    std::string expected;
  } const cases[] = {
      {"empty", "", kCodePageUtf8, ""},
      {"starts with a zero unit", "\0\0A\0"s, kCodePageUtf8, ""},
      {"embedded zero unit", "A\0\0\0B\0"s, kCodePageUtf8, "A"},
      {"terminated", "\x2D\x4E\0\0"s, kCodePageUtf8, "\xE4\xB8\xAD"},
      {"to GBK", "\x2D\x4E\x1E\x66"s, kCodePageGbk, "\xD6\xD0\x95\x5C"},
      {"an odd last byte is no unit", "A\0B"s, kCodePageGbk, "A"},
      {"a lone surrogate to UTF-8", "a\0\x00\xD8z\0"s, kCodePageUtf8, "a\xEF\xBF\xBDz"},
      {"a lone surrogate to GBK", "a\0\x00\xD8z\0"s, kCodePageGbk, "a?z"},
      {"an unknown code page gives nothing", "a\0"s, 12345, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(hex(utf16ToMultiByte(ByteBuffer(c.input), c.codePage).str()), hex(c.expected));
  }
}

TEST(Utf16ToGbk, IsTheInverseOfGbkToUtf16) {
  for (const char* text : {"abc", "\xD6\xD0\xCE\xC4", "\x95\x5C\\\x95\x5C", "\x80", "\xFF"}) {
    EXPECT_EQ(hex(utf16ToGbk(gbkToUtf16(text)).str()), hex(text));
  }
  EXPECT_EQ(utf16ToGbk(ByteBuffer()), Text());
}

TEST(GbkToUtf8, ConvertsEachCharacter) {
  const ConversionCase cases[] = {
      {"empty", "", ""},
      {"ab", "ab", "ab"},
      {"中文", "\xD6\xD0\xCE\xC4", "\xE4\xB8\xAD\xE6\x96\x87"},
      {"昞 then a backslash", "\x95\x5C\\", "\xE6\x98\x9E\\"},
      {"0x80", "\x80", "\xE2\x82\xAC"},
      {"full-width colon", "\xA3\xBA", "\xEF\xBC\x9A"},
      {"invalid lead byte at the end", "a\x81", "a\xEF\xBF\xBD"},
  };
  for (const ConversionCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(hex(gbkToUtf8(Text(c.input)).str()), hex(c.expected));
  }
}

TEST(Utf8ToGbk, ReplacesWhatItCannotMapAndCarriesOn) {
  const ConversionCase cases[] = {
      {"empty", "", ""},
      {"embedded NUL ends the text", "A\0B"s, "A"},
      {"中", "\xE4\xB8\xAD", "\xD6\xD0"},
      {"昞", "\xE6\x98\x9E", "\x95\x5C"},
      {"euro sign", "\xE2\x82\xAC", "\x80"},
      {"U+F8F5 back to 0xFF", "\xEF\xA3\xB5", "\xFF"},
      {"a character outside GBK",
       "a\xF0\x9F\x98\x80"
       "b",
       "a?b"},
      {"Hangul is outside GBK",
       "a\xED\x95\x9C"
       "b\xE4\xB8\xAD",
       "a?b\xD6\xD0"},
      {"invalid byte",
       "a\xFF"
       "b",
       "a?b"},
      {"truncated sequence at the end", "a\xE4\xB8", "a?"},
      {"truncated sequence before more text",
       "a\xE4\xB8"
       "b",
       "a?b"},
  };
  for (const ConversionCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(hex(utf8ToGbk(ByteBuffer(c.input)).str()), hex(c.expected));
  }
}

TEST(Cesu8ToGbk, ReadsSurrogatePairsEncodedApart) {
  const ConversionCase cases[] = {
      {"empty", "", ""},
      {"ASCII", "abc", "abc"},
      {"中",
       "a\xE4\xB8\xAD"
       "b",
       "a\xD6\xD0"
       "b"},
      {"a surrogate pair outside GBK",
       "a\xED\xA0\xBD\xED\xB8\x80"
       "b\xE4\xB8\xAD",
       "a?b\xD6\xD0"},
      {"a four-byte sequence is not CESU-8",
       "a\xF0\x9F\x98\x80"
       "b",
       "a?b"},
      {"NUL ends the text", "a\0b"s, "a"},
  };
  for (const ConversionCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(hex(cesu8ToGbk(ByteBuffer(c.input)).str()), hex(c.expected));
  }
}

TEST(CodePageConversion, EveryDoubleByteGbkCharacterRoundTripsAsOneCharacter) {
  int checked = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const Text character(std::string{static_cast<char>(lead), static_cast<char>(trail)});
      ASSERT_EQ(gbkToUtf16(character).length(), 4) << hex(character.str());
      ASSERT_EQ(utf8ToGbk(gbkToUtf8(character)), character) << hex(character.str());
      ++checked;
    }
  }
  EXPECT_EQ(checked, 126 * 190);
}

TEST(CodePageConversion, AnUnfinishedConversionLeavesNothingBehind) {
  // The converters are cached; a lead byte left over from one text must not
  // combine with the first byte of the next.
  EXPECT_EQ(hex(gbkToUtf8("a\xD6").str()), hex("a\xEF\xBF\xBD"));
  EXPECT_EQ(hex(gbkToUtf8("\xD0").str()), hex("\xEF\xBF\xBD"));
  EXPECT_EQ(hex(utf8ToGbk(ByteBuffer("a\xE4\xB8"s)).str()), hex("a?"));
  EXPECT_EQ(hex(utf8ToGbk(ByteBuffer("\xAD"s)).str()), hex("?"));
  EXPECT_EQ(hex(cesu8ToGbk(ByteBuffer("a\xED\xA0\xBD"s)).str()), hex("a?"));
  EXPECT_EQ(hex(cesu8ToGbk(ByteBuffer("\xED\xB8\x80"s)).str()), hex("?"));
}

TEST(CodePageConversion, LongTextsConvertWhole) {
  std::string gbk;
  std::string utf8;
  for (int i = 0; i < 200000; ++i) {
    gbk += i % 3 == 0 ? "\xD6\xD0" : (i % 3 == 1 ? "\x95\x5C" : "x");
    utf8 += i % 3 == 0 ? "\xE4\xB8\xAD" : (i % 3 == 1 ? "\xE6\x98\x9E" : "x");
  }
  const ByteBuffer converted = gbkToUtf8(Text(gbk));
  EXPECT_EQ(converted.length(), static_cast<int32_t>(utf8.size()));
  EXPECT_TRUE(converted.str() == utf8);
  EXPECT_TRUE(utf8ToGbk(ByteBuffer(utf8)).str() == gbk);
  EXPECT_EQ(gbkToUtf16(Text(gbk)).length(), 2 * 200000 + 2);
}

TEST(SourceLiterals, ConvertBothWays) {
  EXPECT_EQ(hex(gbkFromUtf8("搜索").str()), hex("\xCB\xD1\xCB\xF7"));
  EXPECT_EQ(gbkFromUtf8("播放链接：").length(), 10);
  EXPECT_EQ(utf8FromGbk(gbkFromUtf8("歌名 歌手")), "歌名 歌手");
  EXPECT_EQ(utf8FromGbk(Text("\x95\x5C")), "昞");
  EXPECT_EQ(gbkFromUtf8(""), Text());
}

}  // namespace
}  // namespace sp
