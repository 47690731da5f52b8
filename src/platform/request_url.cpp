#include "platform/request_url.h"

#include <string_view>
#include <utility>

namespace sp {
namespace {

bool needsEscape(unsigned char byte, bool inHost) {
  if (byte <= 0x20 || byte == 0x7F) return true;
  return byte >= 0x80 && !inHost;
}

bool isSchemeChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
         c == '-' || c == '.';
}

// The host runs from after "scheme://" to the first '/' or '?'.
std::pair<std::size_t, std::size_t> hostRange(std::string_view url) {
  const std::size_t schemeEnd = url.find("://");
  if (schemeEnd == std::string_view::npos || schemeEnd == 0) return {0, 0};
  for (std::size_t i = 0; i < schemeEnd; ++i) {
    if (!isSchemeChar(url[i])) return {0, 0};
  }
  const std::size_t begin = schemeEnd + 3;
  const std::size_t end = url.find_first_of("/?", begin);
  return {begin, end == std::string_view::npos ? url.size() : end};
}

}  // namespace

std::string requestUrl(const Text& url) {
  const std::string_view gbk = url.view();
  const Text withoutFragment(gbk.substr(0, gbk.find('#')));
  const std::string utf8 = gbkToUtf8(withoutFragment).str();

  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto [hostBegin, hostEnd] = hostRange(utf8);
  std::string wire;
  wire.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (needsEscape(byte, i >= hostBegin && i < hostEnd)) {
      wire += '%';
      wire += kHex[byte >> 4];
      wire += kHex[byte & 0x0F];
    } else {
      wire += static_cast<char>(byte);
    }
  }
  return wire;
}

}  // namespace sp
