// The services the program takes from its platform, behind one interface so that
// the commands run and are tested without a GUI. All calls block the one thread.
#pragma once

#include <cstdint>
#include <functional>

#include "text/text.h"

namespace sp {

enum class WindowId { Main, Developers };

// Message box styles.
inline constexpr int32_t kStopIcon = 16;
inline constexpr int32_t kInformationIcon = 64;

// Why a fetch ended; httpGet keeps only the bytes, commands that must tell the
// user what went wrong ask httpFetch.
enum class FetchStatus {
  Complete,  // the whole body arrived (whatever the HTTP status)
  BadUrl,    // not an http or https URL, or malformed
  Refused,   // no connection, DNS failure, connect timeout, a redirect to another scheme
  TlsError,  // certificate not trusted or handshake failed
  Stalled,   // no bytes for too long
  Broken,    // the transfer ended before the body was complete
  TooLarge,  // the body passed the size cap
  TooManyRedirects,
  NotStored,  // the body could not be stored where it was going
};

struct FetchResult {
  FetchStatus status = FetchStatus::BadUrl;
  long httpStatus = 0;  // 0 when no response was received
  ByteBuffer body;      // on a broken transfer, the bytes read so far
  bool complete() const { return status == FetchStatus::Complete; }
};

// A body worth keeping as a file: all of it arrived, with a success status, and
// it is not empty (an error page is not a song).
inline bool isWholeSuccessfulBody(const FetchResult& fetched, int64_t bodyBytes) {
  return fetched.complete() && fetched.httpStatus >= 200 && fetched.httpStatus <= 299 &&
         bodyBytes > 0;
}

enum class SaveStatus { Saved, FetchFailed, WriteFailed };

class Platform {
 public:
  virtual ~Platform() = default;

  // Start-up and shutdown.
  virtual void initialise() = 0;
  virtual void registerExitRoutine(std::function<void()> routine) = 0;
  // Creates the window, raises its created event, shows it; a modal load disables
  // the other windows and returns when it has been closed.
  virtual bool loadWindow(WindowId window, bool modal) = 0;
  virtual void messageLoop() = 0;

  // Network.
  virtual FetchResult httpFetch(const Text& url) = 0;
  ByteBuffer httpGet(const Text& url) { return httpFetch(url).body; }

  // Fetches url into the file at path. The file is replaced only by a body that
  // isWholeSuccessfulBody; otherwise it stays as it was. Platforms that can stream the
  // body to disk override this; the default holds it in memory first.
  virtual SaveStatus saveUrlToFile(const Text& url, const Text& path) {
    const FetchResult fetched = httpFetch(url);
    if (!isWholeSuccessfulBody(fetched, fetched.body.length())) return SaveStatus::FetchFailed;
    return writeFile(path, fetched.body) ? SaveStatus::Saved : SaveStatus::WriteFailed;
  }

  // Files. Paths are GBK texts joined with backslashes.
  virtual bool writeFile(const Text& path, const ByteBuffer& bytes) = 0;
  virtual ByteBuffer readFile(const Text& path) = 0;
  virtual bool fileExists(const Text& path) = 0;  // wildcards match
  virtual Text runDirectory() = 0;                // no trailing backslash
  virtual Text documentsFolder() = 0;             // ends with a backslash; empty on failure

  // Shell and dialogs.
  virtual void openUrl(const Text& url) = 0;
  virtual void messageBox(const Text& text, int32_t style, const Text& caption) = 0;
};

}  // namespace sp
