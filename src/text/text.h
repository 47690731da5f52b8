// Texts, byte buffers and text arrays: the value types every module passes around.
// A Text holds GBK (code page 936) bytes; lengths and positions count bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sp {

// A NUL-terminated GBK byte string. It never holds a NUL: building one from bytes
// keeps those before the first NUL. The missing and the empty text are one value.
class Text {
 public:
  Text() = default;
  Text(const char* bytes);       // NOLINT(google-explicit-constructor): literals pass as texts
  Text(std::string_view bytes);  // NOLINT(google-explicit-constructor)
  Text(const std::string& bytes) : Text(std::string_view(bytes)) {}  // NOLINT

  const char* c_str() const { return bytes_.c_str(); }
  std::string_view view() const { return bytes_; }
  const std::string& str() const { return bytes_; }
  int32_t length() const { return static_cast<int32_t>(bytes_.size()); }
  bool empty() const { return bytes_.empty(); }

  friend bool operator==(const Text& a, const Text& b) = default;

 private:
  std::string bytes_;
};

// A counted byte string that may hold NUL bytes; a one-dimensional byte array.
class ByteBuffer {
 public:
  ByteBuffer() = default;
  explicit ByteBuffer(std::string bytes) : bytes_(std::move(bytes)) {}
  ByteBuffer(const void* data, std::size_t size) : bytes_(static_cast<const char*>(data), size) {}

  int32_t dimensionCount() const { return 1; }
  int32_t length() const { return static_cast<int32_t>(bytes_.size()); }
  bool empty() const { return bytes_.empty(); }
  const unsigned char* data() const {
    return reinterpret_cast<const unsigned char*>(bytes_.data());
  }
  std::string_view view() const { return bytes_; }
  const std::string& str() const { return bytes_; }
  std::string& str() { return bytes_; }

  friend bool operator==(const ByteBuffer& a, const ByteBuffer& b) = default;

 private:
  std::string bytes_;
};

// An array of texts with its dimension sizes; the arrays the program makes are
// one-dimensional. A default-constructed array has dimension count 0.
class TextArray {
 public:
  TextArray() = default;
  explicit TextArray(std::vector<Text> elements)
      : dimensions_{static_cast<int32_t>(elements.size())}, elements_(std::move(elements)) {}
  TextArray(std::vector<int32_t> dimensions, std::vector<Text> elements)
      : dimensions_(std::move(dimensions)), elements_(std::move(elements)) {}

  int32_t dimensionCount() const { return static_cast<int32_t>(dimensions_.size()); }
  const std::vector<int32_t>& dimensions() const { return dimensions_; }
  const std::vector<Text>& elements() const { return elements_; }
  const Text& operator[](std::size_t i) const { return elements_[i]; }

 private:
  std::vector<int32_t> dimensions_;
  std::vector<Text> elements_;
};

inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageUtf8 = 65001;

// -1, 0 or 1, comparing bytes as unsigned values; missing equals empty.
int32_t compareText(const Text& a, const Text& b);
int32_t textLength(const Text& text);

Text joinTextList(std::initializer_list<std::string_view> texts);
template <typename... Texts>
Text joinTexts(const Texts&... texts) {
  return joinTextList({std::string_view(Text(texts).view())...});
}
ByteBuffer joinBufferList(std::initializer_list<const ByteBuffer*> buffers);
template <typename... Buffers>
ByteBuffer joinBuffers(const Buffers&... buffers) {
  return joinBufferList({&buffers...});
}

int32_t elementCount(const TextArray& array);
int32_t elementCount(const ByteBuffer& buffer);

ByteBuffer textToBytes(const Text& text);
Text bytesToText(const ByteBuffer& bytes);  // the bytes before the first NUL
ByteBuffer blankBuffer(int32_t size);
ByteBuffer bufferFromMemory(const void* address, int32_t size);
int32_t bufferLength(const ByteBuffer& buffer);

// Code-page conversions. They never fail on bad input: invalid sequences become
// the converter's replacement character, characters the target lacks its
// substitute ("?" for GBK). Conversion stops at the first NUL.
ByteBuffer multiByteToUtf16(const ByteBuffer& bytes, int codePage);  // ends with a zero unit
ByteBuffer utf16ToMultiByte(const ByteBuffer& utf16, int codePage);  // no terminator
ByteBuffer gbkToUtf16(const Text& text);
Text utf16ToGbk(const ByteBuffer& utf16);
ByteBuffer gbkToUtf8(const Text& text);
Text utf8ToGbk(const ByteBuffer& utf8);

// The script engine hands out strings as CESU-8 (surrogate pairs encoded apart).
Text cesu8ToGbk(const ByteBuffer& cesu8);

// Conveniences for the program's own UTF-8 source literals and for display.
Text gbkFromUtf8(std::string_view utf8);
std::string utf8FromGbk(const Text& text);

}  // namespace sp
