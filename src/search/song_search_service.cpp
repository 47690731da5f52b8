#include "search/song_search_service.h"

#include "platform/settings.h"
#include "text/text_search.h"
#include "text/url_codec.h"

namespace sp::SongSearchService {
namespace {

const Text& playLinkMarker() {
  static const Text marker = gbkFromUtf8("播放链接：");
  return marker;
}

}  // namespace

Text searchUrl(const Text& songName) {
  return joinTexts("https://", settings().songServiceHost,
                   "/API/yy_sq.php?msg=", urlEncode(songName, true, true));
}

Text playLinkUrl(const Text& songName, const Text& rowNumber) {
  return joinTexts(searchUrl(songName), "&type=text&n=", rowNumber);
}

Text decodeAnswer(const ByteBuffer& body) {
  return urlDecode(bytesToText(body), true);
}

Text extractPlayLink(const Text& answer) {
  const int32_t position = findText(answer, playLinkMarker());
  // Without the marker the answer holds no link; fetching the whole answer as
  // an address would only send an error text of the service back to it.
  if (position == 0) return {};
  return Text(
      answer.view().substr(static_cast<std::size_t>(position - 1 + playLinkMarker().length())));
}

}  // namespace sp::SongSearchService
