#include "mpeg_audio.h"

#include <cmath>
#include <set>
#include <string>

#include "catalogue.h"
#include "gtest/gtest.h"
#include "mpeg_frames.h"

namespace songservice {
namespace {

// Every frame whole, valid, Layer II, with exactly the one subband allocated.
void expectToneFrames(const std::string& file, int subband) {
  const testing::FrameScan scan = testing::scanFrames(file);
  ASSERT_EQ(scan.validBytes, file.size()) << "bytes after the last whole frame";
  ASSERT_GT(scan.frames, 0u);
  std::size_t offset = 0;
  std::size_t audible = 0;
  for (const testing::FrameHeader& header : scan.headers) {
    const auto frame =
        testing::readLayerTwoFrame(std::string_view(file).substr(offset, header.length));
    ASSERT_TRUE(frame) << "frame at " << offset;
    EXPECT_EQ(frame->allocatedSubbands, std::vector<int>{subband}) << "frame at " << offset;
    audible += frame->audible ? 1 : 0;
    offset += header.length;
  }
  EXPECT_GE(audible, scan.frames - 2) << "only the faded ends may be quiet";
}

TEST(EncodeTone, EveryCatalogueSongIsAFewSecondsOfValidAudibleFrames) {
  for (const Song& song : catalogue()) {
    SCOPED_TRACE(song.name);
    const Tone tone = toneForSong(song.id);
    const std::string file = encodeTone(tone);
    expectToneFrames(file, static_cast<int>(tone.frequencyHz / kSubbandWidthHz));
    const double seconds =
        static_cast<double>(testing::scanFrames(file).frames) * kSamplesPerFrame / kSampleRate;
    EXPECT_GE(seconds, 2.0);
    EXPECT_LE(seconds, 5.0);
    // The padding keeps the average rate at 128 kbit/s.
    EXPECT_NEAR(static_cast<double>(file.size()) * 8 / seconds, kBitRate, kBitRate * 0.002);
  }
}

TEST(EncodeTone, EverySongSoundsDifferent) {
  std::set<std::string> files;
  for (const Song& song : catalogue()) files.insert(encodeTone(toneForSong(song.id)));
  EXPECT_EQ(files.size(), catalogue().size());
}

TEST(EncodeTone, PlacesTheToneInTheSubbandThatHoldsItsFrequency) {
  const struct {
    double frequencyHz;
    int subband;
  } cases[] = {{440, 0}, {880, 1}, {1568, 2}, {5000, 7}, {12000, 17}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frequencyHz);
    expectToneFrames(encodeTone(Tone{c.frequencyHz, 0.5, 9}), c.subband);
  }
}

TEST(FrameStream, IsExactlyTheSizeAskedForInWholeValidFrames) {
  const std::uint64_t sizes[] = {kFrameBytes * (kFrameBytes - 1), 1024 * 1024, 5 * 1024 * 1024,
                                 5 * 1024 * 1024 + 1, 3'000'001};
  for (const std::uint64_t size : sizes) {
    SCOPED_TRACE(size);
    const auto stream = FrameStream::ofSize(size);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->size(), size);
    std::string bytes(size, '\0');
    stream->read(0, bytes.data(), bytes.size());
    expectToneFrames(bytes, 1);
  }
}

TEST(FrameStream, RefusesSizesThatWholeFramesCannotFill) {
  for (const std::uint64_t size : {std::uint64_t{0}, std::uint64_t{416}, std::uint64_t{1000},
                                   std::uint64_t{kFrameBytes * (kFrameBytes - 1) - 1}}) {
    EXPECT_FALSE(FrameStream::ofSize(size)) << size;
  }
}

TEST(FrameStream, ReadsTheSameBytesInPiecesOfAnySize) {
  const auto stream = FrameStream::ofSize(1024 * 1024);
  ASSERT_TRUE(stream);
  std::string whole(stream->size(), '\0');
  stream->read(0, whole.data(), whole.size());
  for (const std::size_t piece : {std::size_t{1}, std::size_t{417}, std::size_t{418},
                                  std::size_t{65536}, std::size_t{99991}}) {
    std::string pieces(stream->size(), '\0');
    for (std::size_t offset = 0; offset < pieces.size(); offset += piece) {
      stream->read(offset, pieces.data() + offset, std::min(piece, pieces.size() - offset));
    }
    EXPECT_EQ(pieces, whole) << "pieces of " << piece;
  }
}

}  // namespace
}  // namespace songservice
