// The platform services that need no GUI, on Linux. The window, dialog and
// shell services stay abstract here; the GUI layer derives from this class.
#pragma once

#include "platform/http_client.h"
#include "platform/platform.h"
#include "platform/settings.h"

namespace sp {

// The client's limits with the build's extra certificate authority.
HttpOptions httpOptionsFrom(const Settings& settings);

class LinuxPlatform : public Platform {
 public:
  // Makes the program's own directory the current one, so that bare file
  // names land beside the program.
  void initialise() override;

  FetchResult httpFetch(const Text& url) override;
  // Streams the body to disk as it arrives.
  SaveStatus saveUrlToFile(const Text& url, const Text& path) override;

  bool writeFile(const Text& path, const ByteBuffer& bytes) override;
  ByteBuffer readFile(const Text& path) override;
  bool fileExists(const Text& path) override;
  Text runDirectory() override;
  Text documentsFolder() override;
};

}  // namespace sp
