#include "platform/request_url.h"

#include <gtest/gtest.h>

#include <string>

namespace sp {
namespace {

struct UrlCase {
  const char* name;
  std::string gbkUrl;
  std::string wire;
};

// GBK literals come from UTF-8 source text.
std::string gbk(const char* utf8) {
  return gbkFromUtf8(utf8).str();
}

TEST(RequestUrl, WireFormTable) {
  const UrlCase cases[] = {
      {"plain url unchanged", "https://example.com/a/b?x=1&y=2", "https://example.com/a/b?x=1&y=2"},
      {"fragment dropped", "http://example.com/page#part", "http://example.com/page"},
      {"first hash ends the url", "http://example.com/a#b#c", "http://example.com/a"},
      {"only a fragment", "#top", ""},
      {"existing escapes kept", "http://h/%41%20?q=%E6", "http://h/%41%20?q=%E6"},
      {"space escaped", "http://h/a b?q=c d", "http://h/a%20b?q=c%20d"},
      {"controls and delete escaped", "http://h/\t\r\n\x7f", "http://h/%09%0D%0A%7F"},
      {"chinese becomes escaped utf-8", "http://h/" + gbk("歌") + "?n=" + gbk("曲"),
       "http://h/%E6%AD%8C?n=%E6%9B%B2"},
      {"0x5C second byte stays one character", "http://h/" + gbk("昞"), "http://h/%E6%98%9E"},
      {"fragment cut in gbk text", "http://h/" + gbk("歌") + "#" + gbk("曲"), "http://h/%E6%AD%8C"},
      {"international host left as utf-8", "http://" + gbk("例子") + ".cn/" + gbk("歌"),
       "http://\xE4\xBE\x8B\xE5\xAD\x90.cn/%E6%AD%8C"},
      {"only the first authority is a host", "http://h/?u=http://" + gbk("例"),
       "http://h/?u=http://%E4%BE%8B"},
      {"no scheme: everything escaped", gbk("例") + "://x", "%E4%BE%8B://x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(requestUrl(Text(c.gbkUrl)), c.wire) << c.name;
  }
}

}  // namespace
}  // namespace sp
