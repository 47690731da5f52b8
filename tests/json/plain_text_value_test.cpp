// setProperty's plain-text form on GBK texts whose bytes sit next to the characters
// it escapes: each text becomes one string member and runs nothing.
#include <gtest/gtest.h>

#include <string>

#include "json/json_document.h"
#include "text/text.h"

namespace sp {
namespace {

struct PlainTextCase {
  const char* name;
  std::string value;
  std::string readBack;  // what getText gives; empty: the converter decides the first byte
  std::string readBackEnd;
};

// Found by fuzzing: a byte the escaping took for the lead of a double-byte
// character swallowed the escape that followed, so a quote ended the script string.
TEST(PlainTextValue, BytesBeforeEscapedCharactersStayInTheString) {
  const PlainTextCase cases[] = {
      {"euro sign before an apostrophe", "\x80'", "\x80'", ""},
      {"euro sign before a backslash", "\x80\\", "\x80\\", ""},
      {"euro sign before a line break", "\x80\r\n", "\x80\r\n", ""},
      {"trail byte 0x5C stays part of its character", "\x95\x5C'", "\x95\x5C'", ""},
      {"lead byte without trail before an apostrophe", "\x81'", "", "'"},
      {"lead byte without trail before a quote", "\xFE\"", "", "\""},
      {"lead byte without trail at the end", "a\x81", "", ""},
      {"an apostrophe after a lone lead byte runs no script", "\x81'+(da.x=1)+'", "",
       "'+(da.x=1)+'"},
  };
  for (const PlainTextCase& c : cases) {
    SCOPED_TRACE(c.name);
    JsonDocument doc;
    doc.setProperty("k", Text(c.value));
    EXPECT_EQ(doc.kindOf("k"), static_cast<int32_t>(JsonKind::String));
    TextArray names;
    ASSERT_EQ(doc.memberNames(names), 1);
    EXPECT_EQ(names[0], Text("k"));
    const Text stored = doc.getText("k");
    if (!c.readBack.empty()) {
      EXPECT_EQ(stored.str(), c.readBack);
    }
    EXPECT_TRUE(stored.view().ends_with(c.readBackEnd)) << stored.str();
  }
}

}  // namespace
}  // namespace sp
