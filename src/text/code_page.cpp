#include "text/code_page.h"

#include <unicode/ucnv.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sp::codepage {
namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Opening a converter costs far more than a conversion, and every row of every
// search converts texts; the program has one thread, so one cache per thread.
UConverter* cachedConverter(const char* name) {
  thread_local std::vector<std::pair<std::string, ConverterPtr>> cache;
  for (auto& [cachedName, converter] : cache) {
    if (cachedName == name) return converter.get();
  }
  UErrorCode status = U_ZERO_ERROR;
  // ICU opens "windows-936" as "windows-936-2000" with U_AMBIGUOUS_ALIAS_WARNING: a warning only.
  ConverterPtr converter(ucnv_open(name, &status));
  if (U_FAILURE(status)) return nullptr;
  return cache.emplace_back(name, std::move(converter)).second.get();
}

}  // namespace

const char* converterName(int codePage) {
  switch (codePage) {
    case 936:
      return kGbk;
    case 65001:
      return kUtf8;
    default:
      return nullptr;
  }
}

std::u16string toUtf16(std::string_view bytes, const char* name) {
  bytes = bytes.substr(0, bytes.find('\0'));
  UConverter* converter = name == nullptr ? nullptr : cachedConverter(name);
  if (bytes.empty() || converter == nullptr) return {};
  // One source byte never yields more than one code unit in these converters;
  // the retry below covers any that would.
  std::u16string units(bytes.size() + 1, u'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_toUChars(converter, units.data(), static_cast<int32_t>(units.size()), bytes.data(),
                      static_cast<int32_t>(bytes.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      units.assign(static_cast<std::size_t>(length) + 1, u'\0');
      continue;
    }
    if (U_FAILURE(status)) return {};
    units.resize(static_cast<std::size_t>(length));
    return units.substr(0, units.find(u'\0'));
  }
  return {};
}

std::string fromUtf16(std::u16string_view units, const char* name) {
  units = units.substr(0, units.find(u'\0'));
  UConverter* converter = name == nullptr ? nullptr : cachedConverter(name);
  if (units.empty() || converter == nullptr) return {};
  std::string bytes(static_cast<std::size_t>(UCNV_GET_MAX_BYTES_FOR_STRING(
                        static_cast<int32_t>(units.size()), ucnv_getMaxCharSize(converter))),
                    '\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length =
      ucnv_fromUChars(converter, bytes.data(), static_cast<int32_t>(bytes.size()), units.data(),
                      static_cast<int32_t>(units.size()), &status);
  if (U_FAILURE(status)) return {};
  bytes.resize(static_cast<std::size_t>(length));
  return bytes.substr(0, bytes.find('\0'));
}

}  // namespace sp::codepage
