#include "platform/file_services.h"

#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/file_paths.h"

namespace sp {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

// A file beside the target that disappears unless it has been renamed over it.
class TemporaryFile {
 public:
  static constexpr int kAttempts = 100;

  explicit TemporaryFile(const std::string& target) : target_(target) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    static int counter = 0;
    for (int attempt = 0; attempt < kAttempts && !fd_.valid(); ++attempt) {
      path_ = folder + ".songpicker-" + std::to_string(::getpid()) + "-" +
              std::to_string(counter++) + ".tmp";
      fd_ = FileDescriptor(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
      if (!fd_.valid() && errno != EEXIST) break;
    }
    if (!fd_.valid()) path_.clear();
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }

  bool valid() const { return fd_.valid(); }

  bool write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd_.get(), bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
  }

  // Empties the file again, to start its content over.
  bool restart() { return ::ftruncate(fd_.get(), 0) == 0 && ::lseek(fd_.get(), 0, SEEK_SET) == 0; }

  // A replaced file keeps its permissions.
  void keepModeOfTarget() {
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
      ::fchmod(fd_.get(), existing.st_mode & 07777);
    }
  }

  bool commit() {
    if (!fd_.close()) return false;
    if (::rename(path_.c_str(), target_.c_str()) != 0) return false;
    path_.clear();
    return true;
  }

 private:
  std::string target_;
  std::string path_;
  FileDescriptor fd_;
};

class GlobResult {
 public:
  GlobResult(const std::string& pattern) {
    found_ = ::glob(pattern.c_str(), GLOB_NOSORT | GLOB_PERIOD, nullptr, &glob_) == 0 &&
             glob_.gl_pathc > 0;
  }
  GlobResult(const GlobResult&) = delete;
  GlobResult& operator=(const GlobResult&) = delete;
  ~GlobResult() { ::globfree(&glob_); }
  bool found() const { return found_; }

 private:
  glob_t glob_{};
  bool found_ = false;
};

// Only '*' and '?' are wildcards for the program; a '[' in a song name is
// literal. The path holds no backslash any more, so one can escape it.
std::string globPattern(const std::string& path) {
  std::string pattern;
  pattern.reserve(path.size());
  for (char c : path) {
    if (c == '[') pattern += '\\';
    pattern += c;
  }
  return pattern;
}

}  // namespace

struct FileReplacement::Impl {
  explicit Impl(const std::string& target) : file(target) {}
  TemporaryFile file;
};

FileReplacement::FileReplacement(const Text& path) {
  if (path.empty()) return;
  const std::string target = fileSystemPath(path);
  if (target.back() == '/') return;
  impl_ = std::make_unique<Impl>(target);
  if (!impl_->file.valid()) {
    impl_.reset();
    return;
  }
  impl_->file.keepModeOfTarget();
}

FileReplacement::~FileReplacement() = default;

bool FileReplacement::valid() const {
  return impl_ != nullptr;
}
bool FileReplacement::write(std::string_view bytes) {
  return impl_ && impl_->file.write(bytes);
}
bool FileReplacement::restart() {
  return impl_ && impl_->file.restart();
}
bool FileReplacement::commit() {
  return impl_ && impl_->file.commit();
}

bool writeFile(const Text& path, const ByteBuffer& bytes) {
  if (path.empty()) return false;
  const std::string target = fileSystemPath(path);
  if (target.back() == '/') return false;
  TemporaryFile temporary(target);
  if (!temporary.valid()) return false;
  temporary.keepModeOfTarget();
  return temporary.write(bytes.view()) && temporary.commit();
}

ByteBuffer readFile(const Text& path) {
  if (path.empty()) return {};
  FileDescriptor fd(::open(fileSystemPath(path).c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
  std::string content;
  content.reserve(static_cast<std::size_t>(info.st_size));
  char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return {};
    if (got == 0) break;
    content.append(chunk, static_cast<std::size_t>(got));
  }
  return ByteBuffer(std::move(content));
}

bool fileExists(const Text& path) {
  if (path.empty()) return false;
  return GlobResult(globPattern(fileSystemPath(path))).found();
}

}  // namespace sp
