// Saving a fetched body straight to disk, so that a large song is neither held in
// memory nor written only after it has all arrived.
#pragma once

#include "platform/http_client.h"
#include "platform/platform.h"
#include "text/text.h"

namespace sp {

// Streams url into a new file beside path and renames it into place only when the
// body isWholeSuccessfulBody; otherwise path stays as it was and nothing is left.
SaveStatus downloadToFile(const Text& url, const Text& path, const HttpOptions& options);

}  // namespace sp
