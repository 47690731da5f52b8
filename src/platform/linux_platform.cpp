#include "platform/linux_platform.h"

#include <unistd.h>

#include "platform/file_download.h"
#include "platform/file_services.h"
#include "platform/user_folders.h"

namespace sp {

HttpOptions httpOptionsFrom(const Settings& settings) {
  HttpOptions options;
  options.extraCaFile = settings.extraCaFile;
  options.stallTimeout = settings.stallTimeout;
  return options;
}

void LinuxPlatform::initialise() {
  const std::string directory = runDirectoryPath();
  // Nothing to report to: a program that cannot change directory keeps the old one.
  [[maybe_unused]] const int ignored = ::chdir(directory.empty() ? "/" : directory.c_str());
}

FetchResult LinuxPlatform::httpFetch(const Text& url) {
  return sp::httpFetch(url, httpOptionsFrom(settings()));
}

SaveStatus LinuxPlatform::saveUrlToFile(const Text& url, const Text& path) {
  return downloadToFile(url, path, httpOptionsFrom(settings()));
}

bool LinuxPlatform::writeFile(const Text& path, const ByteBuffer& bytes) {
  return sp::writeFile(path, bytes);
}

ByteBuffer LinuxPlatform::readFile(const Text& path) {
  return sp::readFile(path);
}

bool LinuxPlatform::fileExists(const Text& path) {
  return sp::fileExists(path);
}

Text LinuxPlatform::runDirectory() {
  return sp::runDirectory();
}

Text LinuxPlatform::documentsFolder() {
  return sp::documentsFolder();
}

}  // namespace sp
