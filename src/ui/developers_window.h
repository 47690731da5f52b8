// DevelopersWindow: the two developers side by side, each with an avatar, a name and
// two links. A left-button press on an avatar or a link reports which control it was.
#pragma once

#include <QLabel>

#include "ui/developers_commands.h"
#include "ui/developers_window_controls.h"
#include "ui/fixed_frame_window.h"
#include "ui/link_label.h"
#include "ui/picture_box_widget.h"

namespace sp {

class DevelopersWindow : public FixedFrameWindow, public DevelopersWindowControls {
  Q_OBJECT

 public:
  DevelopersWindow();

  void setPicture(PictureBox box, const ByteBuffer& bytes) override;
  PictureBoxWidget& pictureBox(PictureBox box) const;

 signals:
  void pageControlPressed(sp::PageControl control);

 private:
  template <typename PressableControl>
  void forwardPress(PressableControl* control, PageControl page);

  PictureBoxWidget* firstAvatar_;   // 图片框2
  QLabel* firstName_;               // 标签6
  LinkLabel* firstHomeLink_;        // 标签5
  LinkLabel* firstBilibiliLink_;    // 标签4
  PictureBoxWidget* secondAvatar_;  // 图片框1
  QLabel* secondName_;              // 标签1
  LinkLabel* secondHomeLink_;       // 标签2
  LinkLabel* secondBilibiliLink_;   // 标签3
};

}  // namespace sp
