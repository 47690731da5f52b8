// The developers' home and video-site pages, so their links open something offline.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace songservice {

// The HTML of /pages/<developer>/<page>.html for developer "brontelwick" or
// "tamsel" and page "home" or "bilibili"; nothing for any other pair.
std::optional<std::string> developerPage(std::string_view developer, std::string_view page);

}  // namespace songservice
