// Answer bodies that the server sends piece by piece, so that big ones are made
// as they go out instead of being held in memory.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "mpeg_audio.h"

namespace songservice {

class StreamedBody {
 public:
  virtual ~StreamedBody() = default;
  virtual std::uint64_t size() const = 0;
  // Copies the bytes [offset, offset + length), which lie inside the body, to out.
  virtual void read(std::uint64_t offset, char* out, std::size_t length) const = 0;
};

class TextBody final : public StreamedBody {
 public:
  explicit TextBody(std::string text) : text_(std::move(text)) {}
  std::uint64_t size() const override { return text_.size(); }
  void read(std::uint64_t offset, char* out, std::size_t length) const override {
    std::copy_n(text_.data() + offset, length, out);
  }

 private:
  std::string text_;
};

class FrameBody final : public StreamedBody {
 public:
  explicit FrameBody(FrameStream stream) : stream_(std::move(stream)) {}
  std::uint64_t size() const override { return stream_.size(); }
  void read(std::uint64_t offset, char* out, std::size_t length) const override {
    stream_.read(offset, out, length);
  }

 private:
  FrameStream stream_;
};

// A JSON object answer grown to an exact size by a long "padding" member added
// at its end; still valid JSON with the same songs.
class PaddedJsonAnswer final : public StreamedBody {
 public:
  // The answer must be a JSON object ("{...}") shorter than the size.
  PaddedJsonAnswer(const std::string& objectAnswer, std::uint64_t totalBytes);
  std::uint64_t size() const override { return totalBytes_; }
  void read(std::uint64_t offset, char* out, std::size_t length) const override;

 private:
  std::string head_;  // the answer up to its closing brace, then ,"padding":"
  std::string tail_ = "\"}";
  std::uint64_t totalBytes_;
};

}  // namespace songservice
