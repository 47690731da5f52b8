// A download that meets a broken service or an unwritable folder says in a stop box
// what failed, writes nothing, leaves an earlier file of the same name as it was, and
// the next download works.
#include <gmock/gmock.h>

#include <QString>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "faults/fault_fixture.h"

namespace sp::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

constexpr char kNoPlayLink[] = "下载失败：没有找到播放链接";
constexpr char kSongNotFetched[] = "下载失败：歌曲文件获取失败";
constexpr char kNotWritten[] = "下载失败：无法写入文件";
const QString kNormalSong = QStringLiteral("晴天");
const QString kFileName = QStringLiteral("晴天");
const fs::path kSavedName = "晴天.mp3";  // paths are UTF-8 bytes here
const std::string kEarlierSong = "an earlier download of the same name";
// The service stays silent this long; a wait that ends well before it was ended by us.
constexpr auto kServiceSilence = std::chrono::seconds(120);

ShownMessage stopBox(const char* text) {
  return {text, kStopIcon, "错误"};
}

void writeBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool startsWithMpegFrame(const std::string& bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         (static_cast<unsigned char>(bytes[1]) & 0xE0) == 0xE0;
}

class FaultyDownloadTest : public FaultTest {
 protected:
  // Searches, clicks the first row and, when given, changes the song name afterwards:
  // the play-link request asks for the name in the box at the time of the download.
  void pickSong(const QString& listedBy, const QString& askedFor) {
    search(listedBy);
    ASSERT_GE(listedRows(), 1) << listedBy.toStdString();
    clickRow(0);
    if (!askedFor.isEmpty()) setSongName(askedFor);
  }

  // A good download over whatever is there now: the program keeps working.
  void downloadNormally() {
    pickSong(kNormalSong, {});
    download(kFileName);
    EXPECT_THAT(platform_->takeMessages(),
                ElementsAre(ShownMessage{"下载完成", kInformationIcon, "提示"}));
    const std::optional<std::string> saved = fileBytes(runFolder() / kSavedName);
    ASSERT_TRUE(saved.has_value());
    EXPECT_TRUE(startsWithMpegFrame(*saved));
  }
};

struct DownloadFault {
  const char* listedBy;  // the search whose first row is picked
  const char* askedFor;  // the song name at the download, when it differs
  const char* message;   // the stop box's text
  const char* songPath;  // the MP3 address the program must have asked for, if any
};

void PrintTo(const DownloadFault& fault, std::ostream* out) {
  *out << fault.listedBy << (*fault.askedFor != '\0' ? ", then " : "") << fault.askedFor;
}

class DownloadFaultTest : public FaultyDownloadTest,
                          public ::testing::WithParamInterface<DownloadFault> {};

TEST_P(DownloadFaultTest, SaysWhatFailedAndKeepsTheEarlierFile) {
  const DownloadFault& fault = GetParam();
  writeBytes(runFolder() / kSavedName, kEarlierSong);
  const TreeSnapshot before = programFiles();
  pickSong(QString::fromUtf8(fault.listedBy), QString::fromUtf8(fault.askedFor));

  const auto started = std::chrono::steady_clock::now();
  download(kFileName);
  EXPECT_LT(std::chrono::steady_clock::now() - started, kServiceSilence / 2);

  EXPECT_THAT(platform_->takeMessages(), ElementsAre(stopBox(fault.message)));
  // Nothing written, nothing left beside the earlier file, not a byte of it changed.
  EXPECT_EQ(programFiles(), before);
  // The song was asked for where the link pointed, and only there.
  if (fault.songPath != nullptr) {
    EXPECT_EQ(requestsTo(fault.songPath), 1);
  }
  EXPECT_EQ(requestsTo("/mp3/"), fault.songPath != nullptr ? 1 : 0);

  downloadNormally();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DownloadFaultTest,
    ::testing::Values(
        // The play-link answer holds no link.
        DownloadFault{"fault-no-marker", "", kNoPlayLink, nullptr},
        DownloadFault{"晴天", "fault-not-json", kNoPlayLink, nullptr},
        DownloadFault{"晴天", "fault-quoted-string", kNoPlayLink, nullptr},
        DownloadFault{"晴天", "fault-script", kNoPlayLink, nullptr},
        DownloadFault{"晴天", "fault-deep-json", kNoPlayLink, nullptr},
        DownloadFault{"晴天", "fault-50mb", kNoPlayLink, nullptr},
        DownloadFault{"晴天", "fault-broken", kNoPlayLink, nullptr},
        DownloadFault{"晴天", "fault-silent", kNoPlayLink, nullptr},
        DownloadFault{"晴天", "fault-redirect-file", kNoPlayLink, nullptr},
        // The link is there; the song behind it does not come whole, or is a local file.
        DownloadFault{"fault-file-link", "", kSongNotFetched, nullptr},
        DownloadFault{"fault-mp3-404", "", kSongNotFetched, "/mp3/fault-mp3-404.mp3"},
        DownloadFault{"fault-mp3-broken", "", kSongNotFetched, "/mp3/fault-mp3-broken.mp3"},
        DownloadFault{"fault-mp3-silent", "", kSongNotFetched, "/mp3/fault-mp3-silent.mp3"},
        DownloadFault{"fault-mp3-redirect-file", "", kSongNotFetched,
                      "/mp3/fault-mp3-redirect-file.mp3"}),
    [](const ::testing::TestParamInfo<DownloadFault>& info) {
      std::string name = *info.param.askedFor != '\0'
                             ? std::string("play_link_") + info.param.askedFor
                             : std::string(info.param.listedBy);
      for (char& c : name) {
        if (c == '-') c = '_';
      }
      return name;
    });

TEST_F(FaultyDownloadTest, DownloadWhileTheServiceIsDownSaysSoAndKeepsTheEarlierFile) {
  writeBytes(runFolder() / kSavedName, kEarlierSong);
  const TreeSnapshot before = programFiles();
  pickSong(kNormalSong, {});
  {
    const ClosedPort down;
    settings().songServiceHost = "localhost:" + std::to_string(down.port());
    download(kFileName);
  }
  EXPECT_THAT(platform_->takeMessages(), ElementsAre(stopBox(kNoPlayLink)));
  EXPECT_EQ(programFiles(), before);

  settings().songServiceHost = service_.host();
  downloadNormally();
}

// The folder the program writes into cannot take the file. Running as root, no folder
// can be made unwritable by its permissions, so the run directory is bound to one that
// cannot hold the file.
struct UnwritableFolder {
  const char* name;
  const char* runDirectory;                 // under the scratch folder
  void (*prepare)(const fs::path& folder);  // makes it unwritable
  int songRequests;  // 0: a folder that cannot take a file is found before the song is fetched
};

void PrintTo(const UnwritableFolder& folder, std::ostream* out) {
  *out << folder.name;
}

class UnwritableFolderTest : public FaultyDownloadTest,
                             public ::testing::WithParamInterface<UnwritableFolder> {};

TEST_P(UnwritableFolderTest, SaysTheFileWasNotWrittenAndWritesNothing) {
  const UnwritableFolder& folder = GetParam();
  const fs::path runDirectory = scratch() / folder.runDirectory;
  folder.prepare(runDirectory);
  platform_->bindRunDirectory(runDirectory);
  const TreeSnapshot before = programFiles();

  pickSong(kNormalSong, {});
  download(kFileName);
  EXPECT_THAT(platform_->takeMessages(), ElementsAre(stopBox(kNotWritten)));
  EXPECT_EQ(programFiles(), before);
  EXPECT_EQ(requestsTo("/mp3/"), folder.songRequests);

  platform_->bindRunDirectory(runFolder());
  downloadNormally();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, UnwritableFolderTest,
    ::testing::Values(UnwritableFolder{"missing", "gone", [](const fs::path&) {}, 0},
                      UnwritableFolder{"a_file", "not-a-folder",
                                       [](const fs::path& folder) {
                                         writeBytes(folder, "a file, not a folder");
                                       },
                                       0},
                      UnwritableFolder{"name_taken_by_a_folder", "taken",
                                       [](const fs::path& folder) {
                                         fs::create_directories(folder / kSavedName / "inside");
                                       },
                                       1}),
    [](const ::testing::TestParamInfo<UnwritableFolder>& info) { return info.param.name; });

}  // namespace
}  // namespace sp::testing
