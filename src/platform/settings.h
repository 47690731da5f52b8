// The outside addresses the program uses. They are fixed values of the build;
// tests replace them through settings() to point at a service on a free port.
#pragma once

#include <chrono>
#include <string>

namespace sp {

struct Settings {
  std::string songServiceHost;    // host, optionally with :port
  std::string avatarServiceHost;  // host, optionally with :port
  std::string firstDeveloperAccount;
  std::string secondDeveloperAccount;
  std::string firstDeveloperHomePage;
  std::string firstDeveloperBilibiliPage;
  std::string secondDeveloperHomePage;
  std::string secondDeveloperBilibiliPage;
  std::string extraCaFile;  // empty: only the system's CAs
  // No byte for this long ends a transfer; tests shorten it to meet a silent server.
  std::chrono::seconds stallTimeout{30};
};

Settings& settings();

}  // namespace sp
