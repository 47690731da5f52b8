// The program joins GBK paths with backslashes; the Linux file system wants
// UTF-8 with slashes. These two turn one into the other.
#pragma once

#include <string>

#include "text/text.h"

namespace sp {

// GBK -> UTF-8 first, only then '\' -> '/', so that the 0x5C second byte of a
// double-byte character (昞 is 0x95 0x5C) never becomes a separator.
std::string fileSystemPath(const Text& path);
// The way back: UTF-8 -> GBK, '/' -> '\'.
Text programPath(const std::string& fileSystemPath);

}  // namespace sp
