#include "answers.h"

#include <cstdio>

namespace songservice {

std::string jsonString(std::string_view utf8) {
  std::string out = "\"";
  for (char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '/':
        out += "\\/";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

std::string searchAnswer(const std::vector<Song>& hits) {
  std::string out = "{\"list\":[";
  for (std::size_t i = 0; i < hits.size(); ++i) {
    const Song& s = hits[i];
    if (i > 0) out += ',';
    out += "{\"id\":" + std::to_string(s.id) + ",\"name\":" + jsonString(s.name) +
           ",\"singer\":" + jsonString(s.singer) + ",\"album\":" + jsonString(s.album) + "}";
  }
  out += "]}";
  return out;
}

std::string playLinkAnswer(const Song& song, std::string_view link) {
  std::string out;
  out += "歌名：" + song.name + "\n";
  out += "歌手：" + song.singer + "\n";
  out += "专辑：" + song.album + "\n";
  out += kPlayLinkMarker;
  out += link;
  return out;
}

std::string missingHitAnswer(std::string_view hitNumber) {
  // Echo the number only when it is one, so a crafted value cannot smuggle a marker in.
  const bool digits = !hitNumber.empty() && hitNumber.size() <= 10 &&
                      hitNumber.find_first_not_of("0123456789") == std::string_view::npos;
  return "抱歉，没有找到第" + (digits ? std::string(hitNumber) : std::string("？")) +
         "首歌曲。\n请换一个序号再试。";
}

}  // namespace songservice
