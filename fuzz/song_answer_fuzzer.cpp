// The song service's answers as they come off the network: decoding, and the play
// link cut out of the text answer.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "search/song_search_service.h"
#include "text/text.h"
#include "text/url_codec.h"

namespace {

using sp::ByteBuffer;
using sp::Text;

// The length of the character at i as the code-page converter reads it: a lead
// byte 0x81-0xFE and a trail byte 0x40-0xFE but 0x7F make one, any other byte is one.
std::size_t characterLength(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (i + 1 >= text.size() || lead < 0x81 || lead > 0xFE) return 1;
  const auto trail = static_cast<unsigned char>(text[i + 1]);
  return trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2 : 1;
}

// What follows the first marker that starts on a character boundary, or nothing.
std::string_view linkAfterMarker(std::string_view answer, std::string_view marker) {
  for (std::size_t i = 0; i < answer.size(); i += characterLength(answer, i)) {
    if (answer.substr(i).starts_with(marker)) return answer.substr(i + marker.size());
  }
  return {};
}

void checkPlayLink(const Text& answer, const Text& marker) {
  const Text link = sp::SongSearchService::extractPlayLink(answer);
  FUZZ_CHECK(answer.view().ends_with(link.view()));
  FUZZ_CHECK(link.view() == linkAfterMarker(answer.view(), marker.view()));
  if (answer.view().find(marker.view()) == std::string_view::npos) FUZZ_CHECK(link.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const Text marker = sp::gbkFromUtf8("播放链接：");
  const ByteBuffer body(data, size);

  const Text answer = sp::SongSearchService::decodeAnswer(body);
  FUZZ_CHECK(answer == sp::urlDecode(sp::bytesToText(body), true));
  checkPlayLink(answer, marker);
  // The raw text too, so that markers the fuzzer writes directly are met as they are.
  checkPlayLink(sp::bytesToText(body), marker);
  return 0;
}
