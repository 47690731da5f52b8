// JsonDocument on arbitrary input: a text to parse, a path, a value and a list of
// operations, the parts separated by zero bytes (a text holds none). The answer
// runs as script, so slow inputs are allowed; a crash, a leak or undefined
// behaviour is a finding, as is a plain value that does not come back as stored.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string_view>

#include "fuzz_check.h"
#include "json/json_document.h"
#include "text/text.h"

namespace {

using sp::JsonDocument;
using sp::Text;
using sp::TextArray;

struct Input {
  Text script;
  Text path;
  Text value;
  std::string_view operations;
};

Input splitInput(std::string_view bytes) {
  std::array<std::string_view, 3> parts;
  for (std::string_view& part : parts) {
    const std::size_t end = bytes.find('\0');
    part = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
  }
  return {Text(parts[0]), Text(parts[1]), Text(parts[2]), bytes};
}

bool survivesUtf8(const Text& text) {
  return sp::utf8ToGbk(sp::gbkToUtf8(text)) == text;
}

// Any text stored as plain text becomes one string member and runs nothing; it
// reads back unchanged, backslashes, quotes and line ends included, wherever the
// engine can hold its characters at all. (Only this form escapes: the apostrophe
// form of the array operations just wraps the text.)
void checkPlainValue(JsonDocument& document, const Text& value) {
  // The result is the truth of the stored value, so an empty one gives false.
  document.setProperty("k", value);
  FUZZ_CHECK(document.kindOf("k") == static_cast<int32_t>(sp::JsonKind::String));
  TextArray names;
  FUZZ_CHECK(document.memberNames(names) == 1 && names[0] == Text("k"));
  if (survivesUtf8(value)) FUZZ_CHECK(document.getText("k") == value);
}

void checkKind(int32_t kind) {
  using sp::JsonKind;
  constexpr JsonKind kKinds[] = {JsonKind::Absent, JsonKind::Boolean, JsonKind::Number,
                                 JsonKind::Object, JsonKind::Array,   JsonKind::String,
                                 JsonKind::Other};
  bool known = false;
  for (const JsonKind k : kKinds) known = known || kind == static_cast<int32_t>(k);
  FUZZ_CHECK(known);
}

void checkList(int32_t count, const TextArray& list) {
  FUZZ_CHECK(count == sp::elementCount(list));
  FUZZ_CHECK(static_cast<std::size_t>(count) == list.elements().size());
}

double numberFrom(FuzzedDataProvider& choices) {
  constexpr double kSpecial[] = {0.0,
                                 -0.0,
                                 std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::max(),
                                 std::numeric_limits<double>::denorm_min(),
                                 2147483648.0,
                                 -2147483649.0,
                                 0.1};
  if (choices.ConsumeBool()) return choices.ConsumeFloatingPoint<double>();
  return kSpecial[choices.ConsumeIntegralInRange<std::size_t>(0, std::size(kSpecial) - 1)];
}

// A document made by the one under test is read once, then dropped.
void readCopy(std::unique_ptr<JsonDocument> copy) {
  FUZZ_CHECK(copy != nullptr);
  copy->memberCount();
  copy->toJson();
  checkKind(copy->kindOf());
}

void runOperation(JsonDocument& document, const Input& input, FuzzedDataProvider& choices) {
  const Text& path = input.path;
  const Text& value = input.value;
  TextArray list;
  switch (choices.ConsumeIntegralInRange(0, 23)) {
    case 0:
      document.exists(path);
      break;
    case 1:
      checkKind(document.kindOf(path));
      break;
    case 2:
      document.getText(path, choices.ConsumeBool());
      break;
    case 3:
      checkList(document.memberNames(list, path), list);
      break;
    case 4:
      document.memberCount(path);
      break;
    case 5:
      document.getNumber(path);
      break;
    case 6:
      document.getJson(path);
      break;
    case 7:
      document.toJson();
      break;
    case 8:
      checkList(document.nodeValues(list, path, choices.ConsumeBool()), list);
      break;
    case 9: {
      Text full = path;
      document.resolvePath(full);
      break;
    }
    case 10:
      readCopy(document.getDocument(path));
      break;
    case 11:
      readCopy(document.arrayItemDocument(choices.ConsumeIntegral<int32_t>(), path));
      break;
    case 12:
      document.arrayItemText(choices.ConsumeIntegral<int32_t>(), path, choices.ConsumeBool());
      break;
    case 13:
      document.setProperty(path, value, choices.ConsumeBool());
      break;
    case 14:
      document.setByExpression(path, value);
      break;
    case 15:
      document.arrayAdd(value, path, choices.ConsumeBool(), choices.ConsumeBool());
      break;
    case 16:
      document.arraySetItem(choices.ConsumeIntegral<int32_t>(), path, value, choices.ConsumeBool());
      break;
    case 17:
      document.arrayRemoveItem(choices.ConsumeIntegral<int32_t>(), path);
      break;
    case 18:
      document.deleteProperty(path);
      break;
    case 19:
      document.setNumber(path, numberFrom(choices));
      break;
    case 20:
      document.clear();
      break;
    case 21:
      readCopy(document.copy());
      break;
    case 22:
      document.parse(value, choices.ConsumeBool());
      break;
    default:
      document.engineObject().evalText(path);
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const Input input = splitInput(std::string_view(reinterpret_cast<const char*>(data), size));
  JsonDocument document;
  checkPlainValue(document, input.value);

  FuzzedDataProvider choices(reinterpret_cast<const uint8_t*>(input.operations.data()),
                             input.operations.size());
  sp::ScriptError error;
  document.parse(input.script, choices.ConsumeBool(), &error);
  checkKind(document.kindOf());
  // Bounded: each operation may run script, and a long list adds nothing new.
  for (int step = 0; step < 16 && choices.remaining_bytes() > 0; ++step) {
    runOperation(document, input, choices);
  }
  return 0;
}
