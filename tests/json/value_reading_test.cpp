#include "json/value_reading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace sp {
namespace {

TEST(ValueReading, NumbersReadOnlyInPlainDecimalForm) {
  const struct {
    const char* text;
    std::optional<double> number;
  } cases[] = {
      {"0", 0},
      {"12", 12},
      {"12.5", 12.5},
      {" -3 ", -3},
      {"+4", 4},
      {".5", 0.5},
      {"5.", 5},
      {"1e3", 1000},
      {"2.5E-1", 0.25},
      {"\t7\r\n", 7},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"-", std::nullopt},
      {"0x10", std::nullopt},
      {"Infinity", std::nullopt},
      {"NaN", std::nullopt},
      {"inf", std::nullopt},
      {"1e", std::nullopt},
      {"1 2", std::nullopt},
      {"12abc", std::nullopt},
      {"--1", std::nullopt},
      {"e5", std::nullopt},
      {".", std::nullopt},
      {"1e999", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(numberFromText(c.text), c.number) << '"' << c.text << '"';
  }
}

TEST(ValueReading, TruthOfTexts) {
  const struct {
    const char* text;
    bool truth;
    double number;
  } cases[] = {
      {"true", true, 0}, {"TRUE", true, 0}, {" False ", false, 0}, {"1", true, 1},
      {"0", false, 0},   {"0.0", false, 0}, {"-2.5", true, -2.5},  {"abc", false, 0},
      {"", false, 0},    {"yes", false, 0}, {"truex", false, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(truthFromText(c.text), c.truth) << '"' << c.text << '"';
    EXPECT_EQ(numberValueFromText(c.text), c.number) << '"' << c.text << '"';
  }
}

}  // namespace
}  // namespace sp
