#include "support/temp_directory.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace sp::testing {

TempDirectory::TempDirectory() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "songpicker-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temp dir");
  path_ = pattern;
}

TempDirectory::~TempDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
  const char* previous = std::getenv(name);
  hadValue_ = previous != nullptr;
  if (hadValue_) previous_ = previous;
  if (value) {
    ::setenv(name, value, 1);
  } else {
    ::unsetenv(name);
  }
}

ScopedEnvironment::~ScopedEnvironment() {
  if (hadValue_) {
    ::setenv(name_.c_str(), previous_.c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

}  // namespace sp::testing
