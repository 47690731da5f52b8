#include "platform/file_services.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "platform/file_paths.h"
#include "support/temp_directory.h"

namespace sp {
namespace {

namespace fs = std::filesystem;

Text gbk(const char* utf8) {
  return gbkFromUtf8(utf8);
}

std::string contentOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// --- Paths ----------------------------------------------------------------------

TEST(FilePaths, ConvertsToUtf8BeforeTurningBackslashes) {
  const struct {
    Text program;
    std::string fileSystem;
  } cases[] = {
      {"C:\\music\\a.mp3", "C:/music/a.mp3"},
      {"\\x.mp3", "/x.mp3"},
      {gbk("\\tmp\\昞\\昞.mp3"), "/tmp/昞/昞.mp3"},  // 昞 is 0x95 0x5C in GBK
      {gbk("歌曲 名\\"), "歌曲 名/"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fileSystemPath(c.program), c.fileSystem) << c.fileSystem;
    EXPECT_EQ(programPath(c.fileSystem), c.program) << c.fileSystem;
  }
}

// --- Writing and reading --------------------------------------------------------------

class FileServicesTest : public ::testing::Test {
 protected:
  // The folder as the program names it, with a closing backslash.
  Text folder() const { return Text(programPath(temp.path()).str() + "\\"); }
  Text inFolder(const char* utf8Name) const { return Text(folder().str() + gbk(utf8Name).str()); }
  fs::path real(const char* utf8Name) const { return fs::path(temp.path()) / utf8Name; }

  testing::TempDirectory temp;
};

TEST_F(FileServicesTest, WritesAndReadsBackUnderGbkNames) {
  const char* names[] = {"plain.mp3", "昞.mp3", "歌 曲.mp3", "a[1].mp3", "x.mp3.mp3"};
  const ByteBuffer contents[] = {ByteBuffer(), ByteBuffer(std::string("ID3\0\x01\xff", 6)),
                                 ByteBuffer(std::string(300000, 'm'))};
  for (const char* name : names) {
    for (const ByteBuffer& bytes : contents) {
      ASSERT_TRUE(writeFile(inFolder(name), bytes)) << name;
      EXPECT_EQ(contentOf(real(name)), bytes.str()) << name;
      EXPECT_EQ(readFile(inFolder(name)), bytes) << name;
    }
  }
  std::set<std::string> expected(std::begin(names), std::end(names));
  EXPECT_EQ(namesIn(temp.path()), expected) << "no temporary file may stay behind";
}

TEST_F(FileServicesTest, EmptyBufferLeavesAZeroByteFile) {
  std::ofstream(real("old.mp3")) << "old song";
  ASSERT_TRUE(writeFile(inFolder("old.mp3"), ByteBuffer()));
  EXPECT_TRUE(fs::exists(real("old.mp3")));
  EXPECT_EQ(fs::file_size(real("old.mp3")), 0u);
}

TEST_F(FileServicesTest, ABackslashInsideACharacterIsNoSeparator) {
  fs::create_directory(real("昞"));
  ASSERT_TRUE(writeFile(inFolder("昞\\inner.mp3"), ByteBuffer(std::string("in"))));
  EXPECT_EQ(contentOf(real("昞/inner.mp3")), "in");
  EXPECT_EQ(readFile(inFolder("昞\\inner.mp3")).str(), "in");
}

TEST_F(FileServicesTest, RefusesPathsThatCannotBeWritten) {
  fs::create_directory(real("folder"));
  const struct {
    const char* name;
    Text path;
  } cases[] = {
      {"empty path", Text()},
      {"missing folder", inFolder("missing\\song.mp3")},
      {"names a folder", inFolder("folder")},
      {"ends with a separator", inFolder("song\\")},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(writeFile(c.path, ByteBuffer(std::string("data")))) << c.name;
  }
  EXPECT_EQ(namesIn(temp.path()), std::set<std::string>{"folder"});
  EXPECT_TRUE(fs::is_empty(real("folder")));
}

// A write that fails halfway (here: the file size limit) leaves the old file whole.
TEST_F(FileServicesTest, FailedWriteKeepsTheExistingFile) {
  std::ofstream(real("keep.mp3")) << "the old song";
  rlimit previous{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = previous;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);

  const bool written = writeFile(inFolder("keep.mp3"), ByteBuffer(std::string(100000, 'n')));

  setrlimit(RLIMIT_FSIZE, &previous);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(contentOf(real("keep.mp3")), "the old song");
  EXPECT_EQ(namesIn(temp.path()), std::set<std::string>{"keep.mp3"});
}

TEST_F(FileServicesTest, ReplacedFileKeepsItsPermissions) {
  std::ofstream(real("mode.mp3")) << "x";
  fs::permissions(real("mode.mp3"), fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(writeFile(inFolder("mode.mp3"), ByteBuffer(std::string("y"))));
  EXPECT_EQ(fs::status(real("mode.mp3")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(FileServicesTest, ReadGivesNothingForWhatIsNoReadableFile) {
  fs::create_directory(real("folder"));
  std::ofstream(real("empty.mp3")).flush();
  for (const Text& path : {Text(), inFolder("missing.mp3"), inFolder("folder"),
                           inFolder("empty.mp3"), inFolder("missing\\x.mp3")}) {
    EXPECT_TRUE(readFile(path).empty()) << fileSystemPath(path);
  }
}

// --- Existence ------------------------------------------------------------------------

TEST_F(FileServicesTest, ExistsMatchesFilesFoldersAndWildcards) {
  for (const char* name : {"song.mp3", "歌.mp3", "b[1].mp3", "c1.mp3", ".hidden"}) {
    std::ofstream(real(name)) << name;
  }
  fs::create_directory(real("folder"));
  const struct {
    const char* pattern;
    bool exists;
  } cases[] = {
      {"song.mp3", true},
      {"歌.mp3", true},
      {"folder", true},
      {"missing.mp3", false},
      {"*.mp3", true},
      {"s?ng.mp3", true},
      {"s???g.mp3", false},
      {"x*", false},
      {"fold*", true},
      {"歌*", true},
      {"*hidden", true},   // a leading dot is no hidden
                           // file to the program
      {"b[1].mp3", true},  // brackets are plain characters
      {"c[1].mp3", false},
      {"folder\\*", true},  // "." and ".." match, as they do for the program
      {"missing\\*", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fileExists(inFolder(c.pattern)), c.exists) << c.pattern;
  }
  EXPECT_FALSE(fileExists(Text()));
}

}  // namespace
}  // namespace sp
