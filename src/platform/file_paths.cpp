#include "platform/file_paths.h"

#include <algorithm>

namespace sp {

std::string fileSystemPath(const Text& path) {
  std::string utf8 = gbkToUtf8(path).str();
  std::replace(utf8.begin(), utf8.end(), '\\', '/');
  return utf8;
}

Text programPath(const std::string& fileSystemPath) {
  // '/' is never the second byte of a GBK character, so the swap is safe after conversion.
  std::string gbk = utf8ToGbk(ByteBuffer(fileSystemPath)).str();
  std::replace(gbk.begin(), gbk.end(), '/', '\\');
  return Text(gbk);
}

}  // namespace sp
