#include "catalogue.h"

#include "latin_case.h"

namespace songservice {
namespace {

Song song(int id, std::string name, std::string singer, std::string album) {
  return Song{id, std::move(name), std::move(singer), std::move(album), std::to_string(id)};
}

// Made-up songs and bands. Some names hold the characters that test a client's
// decoding: "+" and "%" (the client URL-decodes the whole answer), an apostrophe,
// a double quote and a backslash (JSON escapes), a slash, and characters that
// code page 936 lacks (an emoji, Hangul).
std::vector<Song> makeCatalogue() {
  return {
      song(1, "晴天", "纸飞机乐队", "午后的光"),
      song(2, "晴天日记", "青柠合唱团", "夏日来信"),
      song(3, "雨后晴天", "风铃小队", "四季"),
      song(4, "月光小夜曲", "纸飞机乐队", "午后的光"),
      song(5, "海边的风", "青柠合唱团", "夏日来信"),
      song(6, "夜空中的灯", "北极星乐团", "远行"),
      song(7, "故乡的云", "北极星乐团", "远行"),
      song(8, "青石小巷", "风铃小队", "四季"),
      song(9, "晚风", "青柠合唱团", "夏日来信"),
      song(10, "小小的梦想", "纸飞机乐队", "纸上的天空"),
      song(11, "逆风飞行", "北极星乐团", "远行"),
      song(12, "1+1=我们", "风铃小队", "四季"),
      song(13, "100%纯度", "纸飞机乐队", "纸上的天空"),
      song(14, "桜の歌", "星屑オーケストラ", "春の便り"),
      song(15, "さくら色の空", "星屑オーケストラ", "春の便り"),
      song(16, "夏祭り", "花火団", "夜店"),
      song(17, "君の名前", "青い鳥楽団", "ありがとうの歌"),
      song(18, "ありがとう", "青い鳥楽団", "ありがとうの歌"),
      song(19, "星の海", "星屑オーケストラ", "春の便り"),
      song(20, "東京の夜", "花火団", "夜店"),
      song(21, "Morning Light", "The Paper Lanterns", "Lantern Songs"),
      song(22, "Don't Look Back", "The Paper Lanterns", "Lantern Songs"),
      song(23, "Say \"Hello\"", "Moss & Ember", "Small Hours"),
      song(24, "Back\\Slash Blues", "Moss & Ember", "Small Hours"),
      song(25, "Either/Or", "Quiet Harbour", "Tidelines"),
      song(26, "Rainbow 🌈 Road", "Quiet Harbour", "Tidelines"),
      song(27, "Café Latte", "Quiet Harbour", "Tidelines"),
      song(28, "SUMMER RAIN", "Neon Orchard", "Afterglow"),
      song(29, "summer wind", "Neon Orchard", "Afterglow"),
      song(30, "Midnight Train", "Neon Orchard", "Afterglow"),
      song(31, "Rock+Roll Tonight", "Moss & Ember", "Small Hours"),
      song(32, "사랑의 노래", "Quiet Harbour", "Tidelines"),
      song(33, "Paper Moon Parade", "The Paper Lanterns", "Lantern Songs"),
      song(34, "春の雨 / 秋の風", "青い鳥楽団", "ありがとうの歌"),
  };
}

}  // namespace

const std::vector<Song>& catalogue() {
  static const std::vector<Song> songs = makeCatalogue();
  return songs;
}

std::vector<Song> findSongs(std::string_view query) {
  std::vector<Song> hits;
  if (query.empty()) return hits;
  for (const Song& s : catalogue()) {
    if (containsIgnoringLatinCase(s.name, query)) hits.push_back(s);
  }
  return hits;
}

const Song* songByAudioKey(std::string_view audioKey) {
  for (const Song& s : catalogue()) {
    if (s.audioKey == audioKey) return &s;
  }
  return nullptr;
}

}  // namespace songservice
