// Where the program lives and where the user keeps documents.
#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

namespace sp {

// The executable's directory without a trailing separator; "" for the root.
std::string runDirectoryPath();
Text runDirectory();

// The documents folder named in an xdg user-dirs file (its XDG_DOCUMENTS_DIR
// line), with $HOME expanded; empty when the file names none.
std::string documentsDirFromUserDirs(std::string_view userDirsFile, const std::string& home);
// The user's documents folder ending with a backslash, not created when
// missing; empty when no home directory is known.
Text documentsFolder();

}  // namespace sp
