// Writing, reading and finding files named by the program's GBK paths.
#pragma once

#include "text/text.h"

namespace sp {

// Replaces the file only once the new content is complete: a failed write
// leaves an existing file as it was. An empty buffer gives a 0-byte file.
bool writeFile(const Text& path, const ByteBuffer& bytes);
ByteBuffer readFile(const Text& path);  // empty when unreadable
// '*' and '?' are wildcards, as in the program's native shell; a file or a
// directory may match.
bool fileExists(const Text& path);

}  // namespace sp
