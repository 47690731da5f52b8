// Turns a URL as the program holds it (GBK, maybe with a fragment and raw
// spaces or Chinese characters) into the ASCII form that goes on the wire.
#pragma once

#include <string>

#include "text/text.h"

namespace sp {

// Drops everything from the first '#', converts to UTF-8 and percent-encodes
// spaces, control bytes and non-ASCII bytes. Non-ASCII in the host is left as
// UTF-8 so that international domain names still resolve.
std::string requestUrl(const Text& url);

}  // namespace sp
