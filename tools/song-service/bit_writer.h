// Packs fields of a few bits, most significant bit first, as MPEG audio frames need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace songservice {

class BitWriter {
 public:
  // Appends the low `width` bits of value (width up to 32).
  void put(std::uint32_t value, int width) {
    for (int bit = width - 1; bit >= 0; --bit) {
      if (used_ % 8 == 0) bytes_.push_back('\0');
      if ((value >> bit) & 1u) {
        bytes_.back() =
            static_cast<char>(static_cast<unsigned char>(bytes_.back()) | (0x80u >> (used_ % 8)));
      }
      ++used_;
    }
  }

  // The bytes so far, the last one filled up with zero bits.
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
  std::size_t used_ = 0;
};

}  // namespace songservice
