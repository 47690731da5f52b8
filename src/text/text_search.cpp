#include "text/text_search.h"

#include <string_view>

#include "text/gbk_characters.h"

namespace sp {

int32_t findText(const Text& haystack, const Text& needle) {
  const std::string_view text = haystack.view();
  const std::string_view wanted = needle.view();
  if (wanted.empty()) return 0;
  for (std::size_t i = 0; i + wanted.size() <= text.size();) {
    if (text.compare(i, wanted.size(), wanted) == 0) return static_cast<int32_t>(i) + 1;
    i += gbkCharacterSize(text, i);
  }
  return 0;
}

}  // namespace sp
