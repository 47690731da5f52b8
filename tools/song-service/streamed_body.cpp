#include "streamed_body.h"

namespace songservice {

PaddedJsonAnswer::PaddedJsonAnswer(const std::string& objectAnswer, std::uint64_t totalBytes)
    : head_(objectAnswer.substr(0, objectAnswer.size() - 1) + ",\"padding\":\""),
      totalBytes_(std::max<std::uint64_t>(totalBytes, head_.size() + tail_.size())) {}

void PaddedJsonAnswer::read(std::uint64_t offset, char* out, std::size_t length) const {
  const std::uint64_t tailStart = totalBytes_ - tail_.size();
  for (std::size_t i = 0; i < length; ++i) {
    const std::uint64_t at = offset + i;
    if (at < head_.size()) {
      out[i] = head_[static_cast<std::size_t>(at)];
    } else if (at < tailStart) {
      out[i] = ' ';
    } else {
      out[i] = tail_[static_cast<std::size_t>(at - tailStart)];
    }
  }
}

}  // namespace songservice
