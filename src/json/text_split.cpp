#include "json/text_split.h"

#include "text/gbk_characters.h"

#include <string_view>
#include <vector>

namespace sp {

TextArray splitText(const Text& text, const Text& separator) {
  const std::string_view all = text.view();
  const std::string_view cut = separator.view();
  std::vector<Text> pieces;
  std::size_t pieceStart = 0;
  std::size_t i = 0;
  while (i < all.size()) {
    if (!cut.empty() && all.compare(i, cut.size(), cut) == 0) {
      pieces.emplace_back(all.substr(pieceStart, i - pieceStart));
      i += cut.size();
      pieceStart = i;
      continue;
    }
    i += gbkCharacterSize(all, i);
  }
  if (pieceStart < all.size()) pieces.emplace_back(all.substr(pieceStart));
  return TextArray(std::move(pieces));
}

}  // namespace sp
