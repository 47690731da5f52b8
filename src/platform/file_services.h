// Writing, reading and finding files named by the program's GBK paths.
#pragma once

#include <memory>
#include <string_view>

#include "text/text.h"

namespace sp {

// Replaces the file only once the new content is complete: a failed write
// leaves an existing file as it was. An empty buffer gives a 0-byte file.
bool writeFile(const Text& path, const ByteBuffer& bytes);

// A new file beside the one at path, written piece by piece: commit() renames it
// into place; dropped without a commit, it disappears and path stays as it was.
class FileReplacement {
 public:
  explicit FileReplacement(const Text& path);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  bool valid() const;  // false when the new file could not be made
  bool write(std::string_view bytes);
  bool restart();  // empties it, to write the content anew
  bool commit();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
ByteBuffer readFile(const Text& path);  // empty when unreadable
// '*' and '?' are wildcards, as in the program's native shell; a file or a
// directory may match.
bool fileExists(const Text& path);

}  // namespace sp
