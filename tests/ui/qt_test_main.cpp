// GoogleTest with a QApplication on the offscreen platform: the widget tests need
// one application object for the whole run.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "ui/fixed_frame_window.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  sp::useChineseApplicationFont();  // as the program does
  return RUN_ALL_TESTS();
}
