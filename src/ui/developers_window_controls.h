// What loadAvatars may do with the developers window: set a picture box's picture.
#pragma once

#include "text/text.h"

namespace sp {

enum class PictureBox {
  SecondAvatar,  // 图片框1: Tamsel
  FirstAvatar,   // 图片框2: Brontelwick
};

class DevelopersWindowControls {
 public:
  virtual ~DevelopersWindowControls() = default;
  // The box takes a copy of the bytes; empty or unrecognised bytes show nothing.
  virtual void setPicture(PictureBox box, const ByteBuffer& bytes) = 0;
};

}  // namespace sp
