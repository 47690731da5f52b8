// The bodies of the search service's answers, in UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalogue.h"

namespace songservice {

// A JSON string literal, quotes included, escaped the way common web back ends
// write it: quote, backslash and slash escaped, control characters as \u00XX,
// other characters as they are.
std::string jsonString(std::string_view utf8);

// {"list":[{"id":..,"name":..,"singer":..,"album":..},...]}
std::string searchAnswer(const std::vector<Song>& hits);

// Lines about the song, the last one the play-link marker followed directly by
// the link, with no line end after it: clients take everything after the marker.
std::string playLinkAnswer(const Song& song, std::string_view link);

// The error text for a hit number outside the search: it holds no marker.
std::string missingHitAnswer(std::string_view hitNumber);

// The marker that introduces the play link.
inline constexpr std::string_view kPlayLinkMarker = "播放链接：";

}  // namespace songservice
