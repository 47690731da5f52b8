// syncSongName with a fake window.
#include "search/sync_song_name.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fakes/fake_main_window.h"

namespace sp {
namespace {

using testing::FakeMainWindow;

struct SyncCase {
  const char* what;
  int32_t checkState;
  int32_t selectedRow;
  const char* expectedBoxUtf8;
};

TEST(SyncSongNameTest, CopiesTheSelectedSongNameOnlyWhileTicked) {
  const SyncCase cases[] = {
      {"ticked, third row", 1, 2, "雨天"},
      {"ticked, first row", 1, 0, "晴天"},
      {"ticked, no row selected empties the box", 1, -1, ""},
      {"not ticked", 0, 2, "typed by hand"},
      {"not ticked, no row selected", 0, -1, "typed by hand"},
      {"ticked, name with characters a file refuses", 1, 1, "a/b:c"},
  };
  for (const SyncCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakeMainWindow window;
    window.addRows({{gbkFromUtf8("晴天"), gbkFromUtf8("歌手甲")},
                    {"a/b:c", gbkFromUtf8("歌手乙")},
                    {gbkFromUtf8("雨天"), gbkFromUtf8("歌手丙")}});
    window.autoSync = c.checkState;
    window.selected = c.selectedRow;
    window.texts[Control::FileNameBox] = gbkFromUtf8("typed by hand");
    syncSongName(window);
    EXPECT_EQ(utf8FromGbk(window.texts[Control::FileNameBox]), c.expectedBoxUtf8);
    EXPECT_EQ(window.rows.size(), 3u);
    EXPECT_EQ(window.selected, c.selectedRow);
  }
}

TEST(SyncSongNameTest, EveryClickCopiesAgain) {
  FakeMainWindow window;
  window.addRows({{"first", "x"}, {"second", "y"}});
  const int32_t clicks[] = {1, 0, 1};
  for (const int32_t row : clicks) {
    window.selected = row;
    window.texts[Control::FileNameBox] = "edited in between";
    syncSongName(window);
    EXPECT_EQ(window.texts[Control::FileNameBox], window.rows[static_cast<std::size_t>(row)][0]);
  }
}

}  // namespace
}  // namespace sp
