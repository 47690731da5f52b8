#include <gtest/gtest.h>

#include <string>

#include "text/text.h"
#include "text/text_search.h"

namespace sp {
namespace {

TEST(FindText, FindsTheFirstMatchAtACharacterBoundary) {
  struct Case {
    const char* name;
    std::string haystack;
    std::string needle;
    int32_t expected;
  } const cases[] = {
      {"at the start", "abc", "a", 1},
      {"in the middle", "abcbc", "bc", 2},
      {"at the end", "abc", "c", 3},
      {"absent", "abc", "d", 0},
      {"empty haystack", "", "a", 0},
      {"empty needle", "abc", "", 0},
      {"needle longer than haystack", "ab", "abc", 0},
      {"exact bytes, no case folding", "ABC", "b", 0},
      {"昞's trail byte is no backslash", "\x95\x5C", "\\", 0},
      {"a backslash after 昞", "\x95\x5C\\", "\\", 3},
      {"a bar inside a character", "\x81\x7C|", "|", 3},
      {"a match spanning two characters", "\xB2\xA5\xB7\xC5", "\xA5\xB7", 0},
      {"a whole character", "a\xD6\xD0\xD6\xD0", "\xD6\xD0", 2},
      // Pairs are cut where the converter cuts them, or a backslash would slip
      // past the file-name check and split the path.
      {"0x80 is a character of its own", "\x80\\", "\\", 2},
      {"0xFF leads no pair", "\xFF|", "|", 2},
      {"a lead byte before a byte that cannot trail", "\x81\"", "\"", 2},
      {"ASCII after an odd byte run",
       "\xD6\xD0"
       "a\xD6\xD0"
       "b",
       "b", 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(findText(Text(c.haystack), Text(c.needle)), c.expected);
  }
}

TEST(FindText, FindsTheMarkerAfterManyDoubleByteCharacters) {
  const Text marker = gbkFromUtf8("播放链接：");
  std::string haystack;
  for (int i = 0; i < 100000; ++i) haystack += "\xD6\xD0";
  // After the lead byte 0x81 the marker's bytes pair up across characters.
  const std::string misaligned = haystack + "\x81" + marker.str();
  EXPECT_EQ(findText(Text(misaligned), marker), 0);
  EXPECT_EQ(findText(Text(haystack + marker.str()), marker), 200001);
}

}  // namespace
}  // namespace sp
