#include "platform/http_client.h"

#include <curl/curl.h>
#include <sys/mman.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string_view>

#include "platform/certificate_cache.h"
#include "platform/request_url.h"

namespace sp {
namespace {

constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr const char* kAllowedProtocols = "http,https";

// libcurl wants one global initialisation before the first handle.
class CurlRuntime {
 public:
  CurlRuntime() { curl_global_init(CURL_GLOBAL_DEFAULT); }
  ~CurlRuntime() { curl_global_cleanup(); }
  CurlRuntime(const CurlRuntime&) = delete;
  CurlRuntime& operator=(const CurlRuntime&) = delete;
};

void ensureCurlRuntime() {
  static CurlRuntime runtime;
}

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// CURLOPT_CAINFO names a single file and replaces the system bundle, so the
// extra authority is trusted by handing curl both bundles joined in memory.
std::string trustedCertificates(const HttpOptions& options) {
  if (options.extraCaFile.empty()) return {};
  const std::string extra = readWholeFile(options.extraCaFile);
  if (extra.empty()) return {};
  return readWholeFile(options.systemCaBundle) + "\n" + extra;
}

struct Transfer {
  CURL* handle = nullptr;
  int64_t maxBodyBytes = 0;
  BodySink* sink = nullptr;
  bool sizeChecked = false;
  bool headerEnded = false;
  bool tooLarge = false;
  bool notStored = false;
};

// Trusts the parsed certificates on the connection; CURLOPT_CAINFO_BLOB would have
// them parsed again for every request.
CURLcode trustCertificates(CURL*, void* sslContext, void* certificates) {
  const auto& list = *static_cast<const CertificateList*>(certificates);
  if (certificateCount(list) == 0 || !addToTrustStore(sslContext, list)) {
    return CURLE_SSL_CACERT_BADFILE;
  }
  return CURLE_OK;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  // Each response of a redirect chain starts with a status line; only the last
  // response's body is the answer.
  const std::string_view line(data, size * count);
  if (line.starts_with("HTTP/")) {
    transfer.sink->clear();
    transfer.sizeChecked = false;
    transfer.headerEnded = false;
  } else if (line == "\r\n" || line == "\n") {
    transfer.headerEnded = true;
  }
  return size * count;
}

// A large body is filled once, front to back. With small pages that costs a page
// fault every 4 KiB, which made a 100 MB song take twice as long as the curl tool;
// huge pages need one every 2 MiB. Only whole huge pages inside the buffer are marked.
void preferHugePages(std::string& buffer) {
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  if (buffer.capacity() < 4 * kHugePage) return;
  const auto start = reinterpret_cast<std::uintptr_t>(buffer.data());
  const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t last = (start + buffer.capacity()) & ~(kHugePage - 1);
  // Only advice: where the system has no huge pages, nothing changes.
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  if (!transfer.sizeChecked) {
    transfer.sizeChecked = true;
    curl_off_t announced = -1;
    curl_easy_getinfo(transfer.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    transfer.sink->expect(announced <= transfer.maxBodyBytes ? announced : -1);
  }
  if (transfer.sink->size() + static_cast<int64_t>(bytes) > transfer.maxBodyBytes) {
    transfer.tooLarge = true;
    return 0;
  }
  if (!transfer.sink->append(std::string_view(data, bytes))) {
    transfer.notStored = true;
    return 0;
  }
  return bytes;
}

// The body held in memory.
class MemorySink : public BodySink {
 public:
  void expect(int64_t announcedBytes) override {
    // A large download must not grow its buffer by doubling.
    if (announcedBytes > 0) {
      body_.reserve(static_cast<size_t>(announcedBytes));
      preferHugePages(body_);
    }
  }
  bool append(std::string_view bytes) override {
    body_.append(bytes);
    return true;
  }
  void clear() override { body_.clear(); }
  int64_t size() const override { return static_cast<int64_t>(body_.size()); }
  std::string take() { return std::move(body_); }

 private:
  std::string body_;
};

FetchStatus statusOf(CURLcode code, CURL* handle, const Transfer& transfer) {
  if (transfer.notStored) return FetchStatus::NotStored;
  if (transfer.tooLarge) return FetchStatus::TooLarge;
  switch (code) {
    case CURLE_OK:
      // curl takes a connection closed inside the header for a finished answer.
      return transfer.headerEnded ? FetchStatus::Complete : FetchStatus::Broken;
    case CURLE_URL_MALFORMAT:
      return FetchStatus::BadUrl;
    case CURLE_UNSUPPORTED_PROTOCOL: {
      long redirects = 0;
      curl_easy_getinfo(handle, CURLINFO_REDIRECT_COUNT, &redirects);
      return redirects > 0 ? FetchStatus::Refused : FetchStatus::BadUrl;
    }
    case CURLE_TOO_MANY_REDIRECTS:
      return FetchStatus::TooManyRedirects;
    case CURLE_FILESIZE_EXCEEDED:
      return FetchStatus::TooLarge;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_INVALIDCERTSTATUS:
      return FetchStatus::TlsError;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
      return FetchStatus::Broken;
    case CURLE_OPERATION_TIMEDOUT: {
      // Before the connection stood it was the connect timeout; after, a stall.
      curl_off_t connectTime = 0;
      curl_easy_getinfo(handle, CURLINFO_CONNECT_TIME_T, &connectTime);
      return connectTime > 0 ? FetchStatus::Stalled : FetchStatus::Refused;
    }
    default:
      return FetchStatus::Refused;
  }
}

// Only an explicit http or https address is fetched; curl alone would guess a
// scheme for "host/path".
bool hasWebScheme(std::string_view url) {
  const auto startsWith = [url](std::string_view prefix) {
    return url.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), url.begin(), [](char a, char b) {
             return a == std::tolower(static_cast<unsigned char>(b));
           });
  };
  return startsWith("http://") || startsWith("https://");
}

bool keepsBody(FetchStatus status) {
  return status == FetchStatus::Complete || status == FetchStatus::Broken ||
         status == FetchStatus::Stalled;
}

}  // namespace

FetchResult httpFetch(const Text& url, const HttpOptions& options) {
  MemorySink sink;
  FetchResult result = httpFetchInto(url, sink, options);
  if (keepsBody(result.status)) result.body = ByteBuffer(sink.take());
  return result;
}

FetchResult httpFetchInto(const Text& url, BodySink& sink, const HttpOptions& options) {
  ensureCurlRuntime();
  FetchResult result;
  const std::string wireUrl = requestUrl(url);
  if (!hasWebScheme(wireUrl)) return result;
  EasyHandle easy(curl_easy_init());
  if (!easy) {
    result.status = FetchStatus::Refused;
    return result;
  }
  CURL* handle = easy.get();
  std::string certificates = trustedCertificates(options);
  HeaderList headers(curl_slist_append(nullptr, "Accept: */*"));
  Transfer transfer;
  transfer.handle = handle;
  transfer.sink = &sink;
  transfer.maxBodyBytes = std::max<int64_t>(options.maxBodyBytes, 0);

  curl_easy_setopt(handle, CURLOPT_URL, wireUrl.c_str());
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, kAllowedProtocols);
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, kAllowedProtocols);
  curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(handle, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
  // Always a direct connection, whatever proxy the environment names.
  curl_easy_setopt(handle, CURLOPT_PROXY, "");
  curl_easy_setopt(handle, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, options.maxRedirects);
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
  // In place of the CA file, as a CA blob would be; the CA directory stays.
  const std::shared_ptr<const CertificateList> trusted =
      certificates.empty() ? nullptr : cachedCertificates(certificates);
  if (trusted) {
    curl_easy_setopt(handle, CURLOPT_CAINFO, static_cast<const char*>(nullptr));
    curl_easy_setopt(handle, CURLOPT_SSL_CTX_FUNCTION, trustCertificates);
    curl_easy_setopt(handle, CURLOPT_SSL_CTX_DATA, const_cast<CertificateList*>(trusted.get()));
  }
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(options.connectTimeout.count()));
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, static_cast<long>(options.stallTimeout.count()));
  curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE,
                   static_cast<curl_off_t>(transfer.maxBodyBytes));
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, onHeader);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, onBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);

  const CURLcode code = curl_easy_perform(handle);
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &result.httpStatus);
  result.status = statusOf(code, handle, transfer);
  return result;
}

}  // namespace sp
