// A fresh directory under the system's temporary folder, removed with all its
// content when the object goes.
#pragma once

#include <string>

namespace sp::testing {

class TempDirectory {
 public:
  TempDirectory();
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  const std::string& path() const { return path_; }  // UTF-8, no trailing slash

 private:
  std::string path_;
};

// Sets (or, given nullptr, removes) an environment variable for one scope.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::string previous_;
  bool hadValue_;
};

}  // namespace sp::testing
