// Decodes PNG bytes with libpng's simplified reading interface, as the program does.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace songservice::testing {

struct DecodedImage {
  unsigned width = 0;
  unsigned height = 0;
  std::vector<std::uint8_t> rgba;
};

std::optional<DecodedImage> decodePng(std::string_view bytes);

}  // namespace songservice::testing
