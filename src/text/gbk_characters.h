// Where the characters of a GBK text begin, as the code-page converter reads them.
#pragma once

#include <cstddef>
#include <string_view>

namespace sp {

// The converter takes a lead byte (0x81 to 0xFE) and a trail byte (0x40 to 0xFE
// but 0x7F) as one character, and any other byte alone: 0x80 is a character of its
// own, and a lead byte before a quote or a line break leaves that byte standing.
// Escaping and splitting must cut where the converter does, or a quote that one
// step skipped would end a script string in the engine.
inline bool isGbkLeadByte(unsigned char c) {
  return c >= 0x81 && c <= 0xFE;
}
inline bool isGbkTrailByte(unsigned char c) {
  return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

inline std::size_t gbkCharacterSize(std::string_view bytes, std::size_t pos) {
  if (pos + 1 < bytes.size() && isGbkLeadByte(static_cast<unsigned char>(bytes[pos])) &&
      isGbkTrailByte(static_cast<unsigned char>(bytes[pos + 1]))) {
    return 2;
  }
  return 1;
}

}  // namespace sp
