// The developers window's picture boxes as plain data, recording each picture set.
#pragma once

#include <utility>
#include <vector>

#include "ui/developers_window_controls.h"

namespace sp::testing {

class FakeDevelopersWindow : public DevelopersWindowControls {
 public:
  std::vector<std::pair<PictureBox, ByteBuffer>> pictures;  // in the order they were set

  void setPicture(PictureBox box, const ByteBuffer& bytes) override {
    pictures.emplace_back(box, bytes);
  }
};

}  // namespace sp::testing
