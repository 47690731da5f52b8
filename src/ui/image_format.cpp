#include "ui/image_format.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace sp {

namespace {

// Shorter than this, no format is trusted: a box shows nothing.
constexpr std::size_t kMinimumImageBytes = 8;

struct Signature {
  std::string_view prefix;
  ImageFormat format;
};

using namespace std::string_view_literals;

constexpr std::array kSignatures{
    Signature{"\xFF\xD8\xFF"sv, ImageFormat::Jpeg},
    Signature{"\x89PNG\r\n\x1A\n"sv, ImageFormat::Png},
    Signature{"GIF87a"sv, ImageFormat::Gif},
    Signature{"GIF89a"sv, ImageFormat::Gif},
    Signature{"BM"sv, ImageFormat::Bmp},
    Signature{"\x00\x00\x01\x00"sv, ImageFormat::Ico},
    Signature{"\x00\x00\x02\x00"sv, ImageFormat::Cur},
};

// PCX has no magic string: a manufacturer byte 0x0A, a known version and RLE encoding.
bool isPcx(std::string_view bytes) {
  const auto version = static_cast<unsigned char>(bytes[1]);
  const bool knownVersion =
      version == 0 || version == 2 || version == 3 || version == 4 || version == 5;
  return bytes[0] == '\x0A' && knownVersion && bytes[2] == '\x01';
}

}  // namespace

ImageFormat sniffImageFormat(const ByteBuffer& bytes) {
  const std::string_view view = bytes.view();
  if (view.size() < kMinimumImageBytes) return ImageFormat::Unknown;
  for (const Signature& signature : kSignatures) {
    if (view.starts_with(signature.prefix)) return signature.format;
  }
  return isPcx(view) ? ImageFormat::Pcx : ImageFormat::Unknown;
}

}  // namespace sp
