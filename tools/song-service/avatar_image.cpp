#include "avatar_image.h"

#include <png.h>

#include <array>
#include <cstdint>
#include <vector>

namespace songservice {
namespace {

// FNV-1a, 64-bit: stable across runs and machines.
std::uint64_t hashOf(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

constexpr int kCells = 5;
constexpr int kCellSize = kAvatarSize / kCells;

}  // namespace

std::string avatarPng(std::string_view account) {
  const std::uint64_t hash = hashOf(account);
  const std::array<std::uint8_t, 3> ink = {static_cast<std::uint8_t>(40 + (hash & 0x7F)),
                                           static_cast<std::uint8_t>(40 + ((hash >> 8) & 0x7F)),
                                           static_cast<std::uint8_t>(40 + ((hash >> 16) & 0x7F))};
  const std::array<std::uint8_t, 3> paper = {240, 240, 236};

  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kAvatarSize * kAvatarSize * 3));
  for (int y = 0; y < kAvatarSize; ++y) {
    for (int x = 0; x < kAvatarSize; ++x) {
      const int row = y / kCellSize;
      const int column = x / kCellSize;
      const int mirrored = column < kCells / 2 + 1 ? column : kCells - 1 - column;
      // Fifteen pattern bits (three columns by five rows), above the colour bits.
      const bool on = (hash >> (24 + row * 3 + mirrored)) & 1u;
      const auto& colour = on ? ink : paper;
      const std::size_t at = static_cast<std::size_t>((y * kAvatarSize + x) * 3);
      for (std::size_t c = 0; c < 3; ++c) pixels[at + c] = colour[c];
    }
  }

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = kAvatarSize;
  image.height = kAvatarSize;
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  // The first call only measures.
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return {};
  }
  std::string png(size, '\0');
  if (!png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return {};
  }
  png.resize(size);
  return png;
}

}  // namespace songservice
