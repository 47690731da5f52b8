// HTTP GET through libcurl's blocking interface, with the fixed request the
// program has always sent and the limits that keep a bad server from hanging it.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "text/text.h"

namespace sp {

struct HttpOptions {
  // Trusted besides the system's certificate authorities; empty: none.
  std::string extraCaFile;
  // The system's certificate bundle, read when an extra file is given.
  std::string systemCaBundle = "/etc/ssl/certs/ca-certificates.crt";
  std::chrono::milliseconds connectTimeout{10'000};
  // No byte at all for this long ends the transfer.
  std::chrono::seconds stallTimeout{30};
  long maxRedirects = 10;
  int64_t maxBodyBytes = int64_t{1} << 30;
};

// Where a body goes while it arrives.
class BodySink {
 public:
  virtual ~BodySink() = default;
  // The length the server announced, once, before the first bytes; -1 when unknown.
  virtual void expect(int64_t announcedBytes) = 0;
  virtual bool append(std::string_view bytes) = 0;  // false ends the transfer: NotStored
  virtual void clear() = 0;                         // a redirect's own body is dropped
  virtual int64_t size() const = 0;
};

// As httpFetch, with the body handed to sink as it arrives; the result's body is empty.
FetchResult httpFetchInto(const Text& url, BodySink& sink, const HttpOptions& options = {});

// Fetches a GBK URL. The body comes back whatever the HTTP status; a transfer
// that broke or stalled mid-body keeps the bytes read so far; any other failure
// gives an empty body.
FetchResult httpFetch(const Text& url, const HttpOptions& options = {});

}  // namespace sp
