// Text and number services: UTF-8 counted in characters, locale-free number formatting.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "framework/core/Exceptions.h"
#include "framework/core/Text.h"

namespace {

const std::string kEnDash = "\xE2\x80\x93";  // U+2013

TEST(TextTest, FormatByPattern) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Row {
    double value;
    const char* pattern;
    const char* text;
  };
  const Row rows[] = {
      {2.0, "0.0000", "2.0000"},
      {0.9933, "0.0000", "0.9933"},
      {1.22141, "0.0000", "1.2214"},
      {12.5, "0.0000", "12.5000"},
      {0.0, "0.0000", "0.0000"},
      {-0.0, "0.0000", "0.0000"},
      {0.0468, ".0000", ".0468"},
      {0.0, ".0000", ".0000"},
      {1.4142135623730951, ".0000", "1.4142"},
      {0.99996, ".0000", "1.0000"},  // rounding carries into the integer part
      {9.99996, "0.0000", "10.0000"},
      // Exactly halfway (0.03125 = 1/32) rounds away from zero; 0.00005 is a hair above half.
      {0.03125, "0.0000", "0.0313"},
      {-0.03125, "0.0000", "-0.0313"},
      {0.00005, ".0000", ".0001"},
      {0.00004999, ".0000", ".0000"},
      {-2.5, "0.0000", "-2.5000"},
      {-0.0468, ".0000", "-.0468"},
      {-0.00001, "0.0000", "-0.0000"},
      {1e20, "0.0000", "100000000000000000000.0000"},
      {2.5, "0", "3"},
      {7.25, "00.0", "07.3"},
      {std::nan(""), "0.0000", "NaN"},
      {std::nan(""), ".0000", "NaN"},
      {inf, ".0000", "INF"},
      {-inf, "0.0000", "-INF"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.value << " with \"" << row.pattern << "\"");
    EXPECT_EQ(fw::Format(row.value, row.pattern), row.text);
  }
}

TEST(TextTest, FormatRefusesOtherPatterns) {
  for (const char* pattern : {"", "#.##", "0.", "0.00x", "0,0000", ".", "1.00"}) {
    SCOPED_TRACE(pattern);
    EXPECT_THROW(fw::Format(1.0, pattern), fw::InvalidArgumentException);
  }
}

TEST(TextTest, FormatAndValIgnoreTheLocale) {
  const char* comma = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
    if (std::setlocale(LC_ALL, name)) {
      comma = name;
      break;
    }
  }
  if (!comma) GTEST_SKIP() << "no locale with a decimal comma is installed";
  EXPECT_EQ(fw::Format(1.5, "0.0000"), "1.5000");
  EXPECT_EQ(fw::Val("2.5"), 2.5);
  std::setlocale(LC_ALL, "C");
}

TEST(TextTest, Val) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Row {
    const char* text;
    double value;
  };
  const Row rows[] = {
      {"", 0.0},      {"007", 7.0},       {"2500", 2500.0}, {"  12", 12.0},  {"\t3", 3.0},
      {"-5", -5.0},   {"+3.5", 3.5},      {".5", 0.5},      {"5.", 5.0},     {"12abc", 12.0},
      {"abc", 0.0},   {"1e3", 1.0},       {"- 4", 0.0},     {"0.1", 0.1},    {"12345678901234567890", 12345678901234567890.0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(fw::Val(row.text), row.value);
  }
  EXPECT_EQ(fw::Val(std::string(400, '9')), inf);
  EXPECT_EQ(fw::Val("-" + std::string(400, '9')), -inf);
}

TEST(TextTest, Str) {
  EXPECT_EQ(fw::Str(0), "0");
  EXPECT_EQ(fw::Str(-17), "-17");
  EXPECT_EQ(fw::Str(2500), "2500");
  EXPECT_EQ(fw::Str(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
  EXPECT_EQ(fw::Str(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(TextTest, LengthsAndPositionsCountCharacters) {
  std::string dashLine;
  for (int k = 0; k < 54; ++k) dashLine += kEnDash;
  EXPECT_EQ(dashLine.size(), 162u);
  EXPECT_EQ(fw::Len(dashLine), 54);
  EXPECT_EQ(fw::Len(""), 0);
  EXPECT_EQ(fw::Len("Enter 3" + kEnDash + "200"), 11);
  EXPECT_EQ(fw::Len("\xF0\x9F\x98\x80"), 1);  // U+1F600
  EXPECT_EQ(fw::Len("\xFF\xFE" "a"), 3);      // stray bytes count one each
  EXPECT_EQ(fw::Len("\xE2\x80"), 2);          // a cut-off sequence too

  struct Row {
    std::string text;
    std::int64_t n;
    std::string right;
  };
  const Row rows[] = {
      {"    3", 4, "   3"}, {"    2500", 4, "2500"}, {"   200", 3, "200"}, {"ab" + kEnDash + "c", 2, kEnDash + "c"},
      {"ab", 5, "ab"},      {"ab", 0, ""},           {"ab", -1, ""},       {"", 3, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text + " / " + std::to_string(row.n));
    EXPECT_EQ(fw::Right(row.text, row.n), row.right);
  }
}

TEST(TextTest, CharacterCodes) {
  EXPECT_EQ(fw::RuntimeAddString(fw::Chr(13), fw::Chr(10)), "\r\n");
  EXPECT_EQ(fw::Chr(0x2013), kEnDash);
  EXPECT_EQ(fw::Asc(kEnDash + "x"), 0x2013);
  EXPECT_EQ(fw::Asc("7"), 55);
  EXPECT_EQ(fw::Asc(""), 0);
  EXPECT_EQ(fw::Asc("\xFF"), 0xFFFD);
  for (std::int64_t code : {0, 31, 127, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x10FFFF}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(fw::Len(fw::Chr(code)), 1);
    EXPECT_EQ(fw::Asc(fw::Chr(code)), code);
  }
  for (std::int64_t code : {-1, 0xD800, 0xDFFF, 0x110000}) EXPECT_EQ(fw::Chr(code), "") << code;
}

TEST(TextTest, CompareByCodePoint) {
  EXPECT_GT(fw::RuntimeStringCompare("5", "0"), 0);
  EXPECT_LT(fw::RuntimeStringCompare("5", "9"), 0);
  EXPECT_EQ(fw::RuntimeStringCompare("9", "9"), 0);
  EXPECT_LT(fw::RuntimeStringCompare("", "0"), 0);
  EXPECT_LT(fw::RuntimeStringCompare("10", "9"), 0);  // text, not numbers
  EXPECT_GT(fw::RuntimeStringCompare("90", "9"), 0);
  EXPECT_GT(fw::RuntimeStringCompare(kEnDash, "z"), 0);
  EXPECT_LT(fw::RuntimeStringCompare("A", "a"), 0);
}

}  // namespace
