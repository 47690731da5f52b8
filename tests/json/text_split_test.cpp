#include "json/text_split.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sp {
namespace {

std::vector<std::string> piecesOf(const TextArray& array) {
  std::vector<std::string> pieces;
  for (const Text& piece : array.elements()) pieces.push_back(piece.str());
  return pieces;
}

TEST(SplitText, KeepsInnerEmptyPiecesAndDropsAnEmptyLastOne) {
  using Pieces = std::vector<std::string>;
  const struct {
    const char* text;
    Pieces pieces;
  } cases[] = {
      {"", {}},          {"a", {"a"}},  {"a,b", {"a", "b"}}, {"a,,b", {"a", "", "b"}},
      {",a", {"", "a"}}, {"a,", {"a"}}, {",", {""}},         {"a,b,", {"a", "b"}},
  };
  for (const auto& c : cases) {
    const TextArray result = splitText(c.text, ",");
    EXPECT_EQ(piecesOf(result), c.pieces) << '"' << c.text << '"';
    EXPECT_EQ(result.dimensionCount(), 1);
  }
}

TEST(SplitText, NeverCutsADoubleByteCharacter) {
  // The second byte of 0x95 0x5C is a backslash byte, and so is the separator.
  const Text text("a\x95\\b\\c");
  EXPECT_EQ(piecesOf(splitText(text, "\\")), (std::vector<std::string>{"a\x95\\b", "c"}));
  // A separator that is itself a pair of Chinese characters: found only on a boundary.
  const Text separator = gbkFromUtf8("年月");
  const Text shifted = joinTexts("x", separator, "y");
  EXPECT_EQ(elementCount(splitText(shifted, separator)), 2);
  const std::string misaligned = "\xc4" + separator.str() + "\xd4";  // lead byte before it
  EXPECT_EQ(piecesOf(splitText(Text(misaligned), separator)), std::vector<std::string>{misaligned});
}

TEST(SplitText, LongSeparator) {
  const Text separator = gbkFromUtf8("[2020年7月20日20时0分0秒]");
  ASSERT_EQ(separator.length(), 25);
  const Text joined = joinTexts("1", separator, gbkFromUtf8("歌"), separator, "");
  EXPECT_EQ(piecesOf(splitText(joined, separator)),
            (std::vector<std::string>{"1", gbkFromUtf8("歌").str()}));
}

}  // namespace
}  // namespace sp
