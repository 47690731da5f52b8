#include "text/text_search.h"

#include <string_view>

namespace sp {

int32_t findText(const Text& haystack, const Text& needle) {
  const std::string_view text = haystack.view();
  const std::string_view wanted = needle.view();
  if (wanted.empty()) return 0;
  for (std::size_t i = 0; i + wanted.size() <= text.size();) {
    if (text.compare(i, wanted.size(), wanted) == 0) return static_cast<int32_t>(i) + 1;
    i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1;
  }
  return 0;
}

}  // namespace sp
