#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace sp {
namespace {

using namespace std::string_literals;

TEST(TextValue, KeepsTheBytesBeforeTheFirstNul) {
  struct Case {
    const char* name;
    Text text;
    std::string expected;
  } const cases[] = {
      {"null pointer", Text(static_cast<const char*>(nullptr)), ""},
      {"default", Text(), ""},
      {"literal", Text("ab"), "ab"},
      {"embedded NUL", Text("a\0b"s), "a"},
      {"leading NUL", Text("\0ab"s), ""},
      {"GBK bytes", Text("\xD6\xD0\x95\x5C"), "\xD6\xD0\x95\x5C"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.text.str(), c.expected);
    EXPECT_EQ(c.text.length(), static_cast<int32_t>(c.expected.size()));
    EXPECT_EQ(c.text.empty(), c.expected.empty());
    EXPECT_EQ(c.text.c_str()[c.text.length()], '\0');
  }
}

TEST(CompareText, IsSignOfUnsignedByteOrderAndMissingEqualsEmpty) {
  struct Case {
    Text a;
    Text b;
    int32_t expected;
  } const cases[] = {
      {Text(), "", 0},
      {"", Text(), 0},
      {Text(), Text(), 0},
      {"a", Text(), 1},
      {Text(), "a", -1},
      {"a", "b", -1},
      {"b", "a", 1},
      {"abc", "abc", 0},
      {"ab", "abc", -1},
      {"abc", "ab", 1},
      {"\x80", "z", 1},  // bytes of 0x80 and above sort after ASCII
      {"z", "\xFF", -1},
      {"\xD6\xD0", "\xD6\xD1", -1},
      {"zzzzzzzzzzzz", "zzzzzzzzzzzy", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a.str() + " vs " + c.b.str());
    EXPECT_EQ(compareText(c.a, c.b), c.expected);
  }
}

TEST(TextLength, CountsBytesNotCharacters) {
  EXPECT_EQ(textLength(Text()), 0);
  EXPECT_EQ(textLength("abc"), 3);
  EXPECT_EQ(textLength("\xD6\xD0\xCE\xC4"), 4);
}

TEST(JoinTexts, JoinsInArgumentOrder) {
  EXPECT_EQ(joinTexts(Text(), Text()), Text(""));
  EXPECT_EQ(joinTexts("a", Text(), "bc"), Text("abc"));
  EXPECT_EQ(joinTexts("\xD6", "\xD0", std::string("x"), std::string_view("yz")),
            Text("\xD6\xD0xyz"));
  EXPECT_EQ(joinTexts(Text("one")), Text("one"));
}

TEST(JoinBuffers, KeepsNulBytesAndIsEmptyWhenAllAre) {
  const ByteBuffer empty;
  const ByteBuffer nul("\0"s);
  const ByteBuffer ab("a\0b"s);
  EXPECT_TRUE(joinBuffers(empty, empty).empty());
  EXPECT_EQ(joinBuffers(ab, nul).str(), "a\0b\0"s);
  EXPECT_EQ(joinBuffers(empty, ab, empty).str(), "a\0b"s);
  EXPECT_EQ(joinBuffers(ab, ab).length(), 6);
}

TEST(ElementCount, IsTheProductOfTheDimensions) {
  struct Case {
    const char* name;
    TextArray array;
    int32_t expected;
  } const cases[] = {
      {"no dimensions", TextArray(), 0},
      {"three texts", TextArray({Text("a"), Text(), Text("c")}), 3},
      {"empty list", TextArray(std::vector<Text>{}), 0},
      {"two by three", TextArray({2, 3}, std::vector<Text>(6)), 6},
      {"a zero dimension", TextArray({4, 0}, {}), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(elementCount(c.array), c.expected);
  }
  EXPECT_EQ(TextArray({Text("a")}).dimensionCount(), 1);
}

TEST(ElementCount, OfAByteBufferIsItsLength) {
  EXPECT_EQ(elementCount(ByteBuffer()), 0);
  EXPECT_EQ(elementCount(ByteBuffer("a\0b"s)), 3);
  EXPECT_EQ(ByteBuffer("x"s).dimensionCount(), 1);
}

TEST(TextToBytes, CopiesTheBytesWithoutTheNul) {
  EXPECT_TRUE(textToBytes(Text()).empty());
  EXPECT_EQ(textToBytes("\xD6\xD0z").str(), "\xD6\xD0z");
}

TEST(BytesToText, CutsAtTheFirstNul) {
  struct Case {
    std::string bytes;
    std::string expected;
  } const cases[] = {
      {"", ""},       {"\x7B\x00\x7D"s, "\x7B"},           {"\0abc"s, ""},
      {"abc", "abc"}, {"\xD6\xD0\0\xD6\xD0"s, "\xD6\xD0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(bytesToText(ByteBuffer(c.bytes)).str(), c.expected);
  }
}

TEST(BlankBuffer, HoldsZeroBytesAndIsEmptyForNoSize) {
  EXPECT_EQ(blankBuffer(4).str(), std::string(4, '\0'));
  EXPECT_TRUE(blankBuffer(0).empty());
  EXPECT_TRUE(blankBuffer(-3).empty());
}

TEST(BufferFromMemory, CopiesTheBytes) {
  const char memory[] = {'a', '\0', 'b', 'c'};
  const ByteBuffer copy = bufferFromMemory(memory, 3);
  EXPECT_EQ(copy.str(), "a\0b"s);
  EXPECT_NE(static_cast<const void*>(copy.data()), static_cast<const void*>(memory));
  EXPECT_TRUE(bufferFromMemory(memory, 0).empty());
  EXPECT_TRUE(bufferFromMemory(nullptr, 3).empty());
  EXPECT_EQ(bufferLength(copy), 3);
  EXPECT_EQ(bufferLength(ByteBuffer()), 0);
}

}  // namespace
}  // namespace sp
