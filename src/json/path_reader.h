// Paths that are plain chains of names and indexes ("da.list[3].name") can be
// read by walking the engine's values directly instead of compiling script text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sp {

// The property keys of a full path expression that starts with rootName and goes
// on with ".name" (ASCII identifier characters) and "[index]" (a decimal index
// without leading zeros) steps; nullopt for any other expression.
std::optional<std::vector<std::string>> plainChain(std::string_view expression,
                                                   std::string_view rootName);

}  // namespace sp
