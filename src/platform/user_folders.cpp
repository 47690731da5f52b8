#include "platform/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/file_paths.h"

namespace sp {
namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string homeDirectory() {
  std::string home = environment("HOME");
  if (home.empty()) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir) {
      home = found->pw_dir;
    }
  }
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  return home;
}

std::string trimmedLeft(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  return std::string(start == std::string_view::npos ? "" : text.substr(start));
}

// One line of user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Documents" or ="/absolute",
// with backslash escapes inside the quotes. Anything else is no value.
std::string documentsValue(std::string_view line, const std::string& home) {
  std::string rest = trimmedLeft(line);
  constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR";
  if (!std::string_view(rest).starts_with(kKey)) return {};
  rest = trimmedLeft(std::string_view(rest).substr(kKey.size()));
  if (rest.empty() || rest.front() != '=') return {};
  rest = trimmedLeft(std::string_view(rest).substr(1));
  if (rest.empty() || rest.front() != '"') return {};
  std::string_view quoted = std::string_view(rest).substr(1);

  std::string value;
  constexpr std::string_view kHome = "$HOME";
  if (quoted.starts_with(kHome)) {
    quoted.remove_prefix(kHome.size());
    if (!quoted.empty() && quoted.front() != '/' && quoted.front() != '"') return {};
    value = home == "/" ? "" : home;
  } else if (quoted.empty() || quoted.front() != '/') {
    return {};
  }
  bool closed = false;
  for (std::size_t i = 0; i < quoted.size(); ++i) {
    if (quoted[i] == '"') {
      closed = true;
      break;
    }
    if (quoted[i] == '\\' && i + 1 < quoted.size()) ++i;
    value += quoted[i];
  }
  if (!closed) return {};
  while (value.size() > 1 && value.back() == '/') value.pop_back();
  return value.empty() ? "/" : value;
}

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

std::string runDirectoryPath() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      const std::string executable(buffer.data(), static_cast<std::size_t>(length));
      return executable.substr(0, executable.rfind('/'));
    }
    buffer.resize(buffer.size() * 2);
  }
}

Text runDirectory() {
  return programPath(runDirectoryPath());
}

std::string documentsDirFromUserDirs(std::string_view userDirsFile, const std::string& home) {
  std::string found;
  while (!userDirsFile.empty()) {
    const std::size_t end = userDirsFile.find('\n');
    const std::string_view line = userDirsFile.substr(0, end);
    userDirsFile.remove_prefix(end == std::string_view::npos ? userDirsFile.size() : end + 1);
    // The last assignment wins, as when the shell sources the file.
    if (std::string value = documentsValue(line, home); !value.empty()) found = std::move(value);
  }
  return found;
}

Text documentsFolder() {
  const std::string home = homeDirectory();
  if (home.empty()) return {};
  std::string configHome = environment("XDG_CONFIG_HOME");
  if (configHome.empty() || configHome.front() != '/') configHome = home + "/.config";
  std::string documents =
      documentsDirFromUserDirs(readWholeFile(configHome + "/user-dirs.dirs"), home);
  if (documents.empty()) documents = (home == "/" ? "" : home) + "/Documents";
  if (documents.back() != '/') documents += '/';
  return programPath(documents);
}

}  // namespace sp
