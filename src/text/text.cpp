#include <algorithm>
#include <cstring>

#include "text/text.h"

namespace sp {

Text::Text(const char* bytes) {
  if (bytes != nullptr) bytes_ = bytes;
}

Text::Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}

int32_t compareText(const Text& a, const Text& b) {
  // Bytes compare as unsigned values, so GBK lead bytes sort above ASCII.
  const int order = std::memcmp(a.c_str(), b.c_str(),
                                static_cast<std::size_t>(std::min(a.length(), b.length())) + 1);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int32_t textLength(const Text& text) {
  return text.length();
}

Text joinTextList(std::initializer_list<std::string_view> texts) {
  std::size_t total = 0;
  for (std::string_view text : texts) total += text.size();
  std::string joined;
  joined.reserve(total);
  for (std::string_view text : texts) joined += text;
  return Text(joined);
}

ByteBuffer joinBufferList(std::initializer_list<const ByteBuffer*> buffers) {
  std::size_t total = 0;
  for (const ByteBuffer* buffer : buffers) total += buffer->view().size();
  std::string joined;
  joined.reserve(total);
  for (const ByteBuffer* buffer : buffers) joined += buffer->view();
  return ByteBuffer(std::move(joined));
}

int32_t elementCount(const TextArray& array) {
  if (array.dimensionCount() == 0) return 0;
  int32_t count = 1;
  for (int32_t size : array.dimensions()) count *= size;
  return count;
}

int32_t elementCount(const ByteBuffer& buffer) {
  return buffer.length();
}

ByteBuffer textToBytes(const Text& text) {
  return ByteBuffer(text.str());
}

Text bytesToText(const ByteBuffer& bytes) {
  return Text(bytes.view());
}

ByteBuffer blankBuffer(int32_t size) {
  if (size <= 0) return {};
  return ByteBuffer(std::string(static_cast<std::size_t>(size), '\0'));
}

ByteBuffer bufferFromMemory(const void* address, int32_t size) {
  if (address == nullptr || size <= 0) return {};
  return ByteBuffer(address, static_cast<std::size_t>(size));
}

int32_t bufferLength(const ByteBuffer& buffer) {
  return buffer.length();
}

}  // namespace sp
