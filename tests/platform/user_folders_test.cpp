#include "platform/user_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file_paths.h"
#include "support/temp_directory.h"

namespace sp {
namespace {

namespace fs = std::filesystem;

TEST(RunDirectory, IsTheExecutablesFolderWithoutSeparator) {
  const std::string expected = fs::canonical(PLATFORM_TEST_DIR).string();
  EXPECT_EQ(runDirectoryPath(), expected);
  EXPECT_EQ(runDirectory(), programPath(expected));
  EXPECT_NE(runDirectory().view().back(), '\\');
  EXPECT_EQ(runDirectory().view().find('/'), std::string_view::npos);
}

TEST(UserDirsFile, FindsTheDocumentsLine) {
  const std::string home = "/home/tamsel";
  const struct {
    const char* name;
    std::string file;
    std::string documents;
  } cases[] = {
      {"relative to home", "XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n", "/home/tamsel/Documents"},
      {"absolute", "XDG_DOCUMENTS_DIR=\"/data/docs\"", "/data/docs"},
      {"among others and comments",
       "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
       "XDG_DOCUMENTS_DIR=\"$HOME/文档\"\nXDG_MUSIC_DIR=\"$HOME/Music\"\n",
       "/home/tamsel/文档"},
      {"spaces and escapes", "  XDG_DOCUMENTS_DIR = \"$HOME/My \\\"Docs\\\"\"",
       "/home/tamsel/My \"Docs\""},
      {"home itself", "XDG_DOCUMENTS_DIR=\"$HOME/\"", "/home/tamsel"},
      {"trailing slash dropped", "XDG_DOCUMENTS_DIR=\"/data/docs/\"", "/data/docs"},
      {"last line wins", "XDG_DOCUMENTS_DIR=\"/a\"\nXDG_DOCUMENTS_DIR=\"/b\"\n", "/b"},
      {"relative path ignored", "XDG_DOCUMENTS_DIR=\"docs\"", ""},
      {"unquoted ignored", "XDG_DOCUMENTS_DIR=$HOME/docs", ""},
      {"unterminated ignored", "XDG_DOCUMENTS_DIR=\"$HOME/docs", ""},
      {"other variable", "XDG_DOCUMENTS_DIRS=\"/x\"\nXDG_DOWNLOAD_DIR=\"/y\"", ""},
      {"$HOMEX is not $HOME", "XDG_DOCUMENTS_DIR=\"$HOMEX/docs\"", ""},
      {"empty file", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(documentsDirFromUserDirs(c.file, home), c.documents) << c.name;
  }
}

class DocumentsFolderTest : public ::testing::Test {
 protected:
  void writeUserDirs(const fs::path& configFolder, const std::string& content) {
    fs::create_directories(configFolder);
    std::ofstream(configFolder / "user-dirs.dirs") << content;
  }
  Text expected(const std::string& path) const { return programPath(path + "/"); }

  testing::TempDirectory home;
  testing::ScopedEnvironment homeVariable{"HOME", home.path().c_str()};
  testing::ScopedEnvironment configVariable{"XDG_CONFIG_HOME", nullptr};
};

TEST_F(DocumentsFolderTest, DefaultsToDocumentsInHomeWithoutCreatingIt) {
  EXPECT_EQ(documentsFolder(), expected(home.path() + "/Documents"));
  EXPECT_EQ(documentsFolder().view().back(), '\\');
  EXPECT_FALSE(fs::exists(home.path() + "/Documents"));
}

TEST_F(DocumentsFolderTest, ReadsTheUserDirsFileInHomeConfig) {
  writeUserDirs(home.path() + "/.config", "XDG_DOCUMENTS_DIR=\"$HOME/文档\"\n");
  EXPECT_EQ(documentsFolder(), expected(home.path() + "/文档"));
}

TEST_F(DocumentsFolderTest, PrefersXdgConfigHome) {
  writeUserDirs(home.path() + "/.config", "XDG_DOCUMENTS_DIR=\"$HOME/from-home\"\n");
  writeUserDirs(home.path() + "/elsewhere", "XDG_DOCUMENTS_DIR=\"/srv/papers\"\n");
  testing::ScopedEnvironment config("XDG_CONFIG_HOME", (home.path() + "/elsewhere").c_str());
  EXPECT_EQ(documentsFolder(), expected("/srv/papers"));
}

TEST_F(DocumentsFolderTest, IgnoresARelativeXdgConfigHome) {
  writeUserDirs(home.path() + "/.config", "XDG_DOCUMENTS_DIR=\"$HOME/from-home\"\n");
  testing::ScopedEnvironment config("XDG_CONFIG_HOME", "relative/config");
  EXPECT_EQ(documentsFolder(), expected(home.path() + "/from-home"));
}

TEST_F(DocumentsFolderTest, FileWithoutDocumentsLineFallsBack) {
  writeUserDirs(home.path() + "/.config", "XDG_MUSIC_DIR=\"$HOME/Music\"\n");
  EXPECT_EQ(documentsFolder(), expected(home.path() + "/Documents"));
}

TEST_F(DocumentsFolderTest, WithoutHomeVariableUsesTheAccountsHome) {
  testing::ScopedEnvironment noHome("HOME", nullptr);
  const Text folder = documentsFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.view().front(), '\\');
  EXPECT_EQ(folder.view().back(), '\\');
}

}  // namespace
}  // namespace sp
