// A search that meets a broken service says so in the status line, lists nothing it
// could not read as a song list, runs nothing it was sent, and the next search works.
#include <QString>
#include <ostream>
#include <string>

#include "faults/fault_fixture.h"

namespace sp::testing {
namespace {

constexpr char kSearchFailed[] = "搜索失败：无法连接到歌曲服务";
constexpr char kNoSongs[] = "搜索到了0个歌曲";
const QString kNormalSong = QStringLiteral("晴天");
constexpr int kNormalHits = 3;

struct SearchFault {
  const char* songName;    // the service's fault mode
  const char* statusLine;  // what the user reads afterwards
  int rows;                // what the list shows afterwards
};

// The fault's name in test listings, stable from build to build.
void PrintTo(const SearchFault& fault, std::ostream* out) {
  *out << fault.songName;
}

class SearchFaultTest : public FaultTest, public ::testing::WithParamInterface<SearchFault> {
 protected:
  // An earlier search leaves its songs in the document: a fault must not bring them back.
  void searchNormally() {
    search(kNormalSong);
    ASSERT_EQ(listedRows(), kNormalHits);
  }
};

TEST_P(SearchFaultTest, ShowsWhatHappenedAndTheNextSearchWorks) {
  const SearchFault& fault = GetParam();
  searchNormally();

  search(QString::fromUtf8(fault.songName));
  EXPECT_EQ(statusLine(), QString::fromUtf8(fault.statusLine));
  EXPECT_EQ(listedRows(), fault.rows);
  EXPECT_EQ(state_.songCount, fault.rows);
  EXPECT_EQ(requestsTo(std::string("/API/yy_sq.php?msg=") + fault.songName), 1);

  searchNormally();
  EXPECT_EQ(statusLine(), QStringLiteral("搜索到了%1个歌曲").arg(kNormalHits));
}

INSTANTIATE_TEST_SUITE_P(Faults, SearchFaultTest,
                         ::testing::Values(
                             // Reached, but what came back is no song list.
                             SearchFault{"fault-not-json", kNoSongs, 0},
                             SearchFault{"fault-quoted-string", kNoSongs, 0},
                             SearchFault{"fault-script", kNoSongs, 0},
                             SearchFault{"fault-deep-json", kNoSongs, 0},
                             SearchFault{"fault-50mb", "搜索到了1个歌曲", 1},
                             // Only part of the answer came back.
                             SearchFault{"fault-broken", "搜索失败：歌曲服务的回答不完整", 0},
                             // Nothing came back at all.
                             SearchFault{"fault-silent", kSearchFailed, 0},
                             SearchFault{"fault-redirect-file", kSearchFailed, 0}),
                         [](const ::testing::TestParamInfo<SearchFault>& info) {
                           std::string name = info.param.songName;
                           for (char& c : name) {
                             if (c == '-') c = '_';
                           }
                           return name;
                         });

TEST_F(FaultTest, SearchWhileTheServiceIsDownSaysItFailed) {
  search(kNormalSong);
  ASSERT_EQ(listedRows(), kNormalHits);
  {
    const ClosedPort down;
    settings().songServiceHost = "localhost:" + std::to_string(down.port());
    search(kNormalSong);
    EXPECT_EQ(statusLine(), QString::fromUtf8(kSearchFailed));
    EXPECT_EQ(listedRows(), 0);
    EXPECT_EQ(state_.songCount, 0);
  }
  settings().songServiceHost = service_.host();
  search(kNormalSong);
  EXPECT_EQ(listedRows(), kNormalHits);
}

}  // namespace
}  // namespace sp::testing
