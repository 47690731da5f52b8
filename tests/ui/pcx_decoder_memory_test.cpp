// What a hostile PCX header makes the reader ask for. This program replaces the
// global operator new to see the largest single request, so it runs on its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "test_pictures.h"
#include "ui/pcx_decoder.h"

namespace {

std::size_t largestRequest = 0;

}  // namespace

void* operator new(std::size_t size) {
  if (size > largestRequest) largestRequest = size;
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}

namespace sp {
namespace {

// Headers whose pixel count passes, but whose lines are long and many: the data
// cannot fill them, and the reader must see that before reserving room for them.
TEST(PcxDecoderMemory, LongLinesClaimedByAShortFileReserveNothingLarge) {
  struct Case {
    const char* name;
    int width;
    int height;
    uint8_t planes;
    int bytesPerLine;
  };
  const Case cases[] = {
      // Found by fuzzing: 4 x 47363 pixels in lines of 61444 bytes, three planes.
      {"found by fuzzing", 4, 47363, 3, 61444},
      {"largest 24-bit claim", 1, 65536, 3, 65535},
      {"largest 8-bit claim", 1, 65536, 1, 65535},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string file = testing::pcxHeader(c.width, c.height, c.planes, c.bytesPerLine);
    file += std::string(64, '\xC4');
    file += '\x0C';
    file += std::string(768, '\0');
    largestRequest = 0;
    EXPECT_FALSE(decodePcx(ByteBuffer(file)));
    // Nothing near the gigabytes the header claims; a few times the file at most.
    EXPECT_LT(largestRequest, std::size_t{1} << 20);
  }
}

}  // namespace
}  // namespace sp
