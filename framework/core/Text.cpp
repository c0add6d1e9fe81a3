#include "framework/core/Text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>
#include <vector>

#include "framework/core/Exceptions.h"

namespace fw {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct Decoded {
  char32_t code;
  std::size_t length;  // bytes
};

// One character at pos. A byte that does not start a well-formed UTF-8 sequence counts as one
// character of its own (U+FFFD), so no text is ever misread as shorter than its bytes allow.
Decoded DecodeAt(std::string_view text, std::size_t pos) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[pos + k]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length;
  char32_t code, least;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, least = 0x10000;
  } else {
    return {kReplacement, 1};
  }
  if (pos + length > text.size()) return {kReplacement, 1};
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return {kReplacement, 1};
    code = (code << 6) | (byte(k) & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {kReplacement, 1};
  return {code, length};
}

// Rounds a plain decimal magnitude ("123.45675") half away from zero by dropping its last digit.
std::string DropLastDigitRounded(std::string digits) {
  const bool up = digits.back() >= '5';
  digits.pop_back();
  if (digits.back() == '.') digits.pop_back();
  if (!up) return digits;
  std::size_t k = digits.size();
  while (k > 0) {
    --k;
    if (digits[k] == '.') continue;
    if (digits[k] != '9') {
      ++digits[k];
      return digits;
    }
    digits[k] = '0';
  }
  return "1" + digits;
}

// |value| with exactly `decimals` digits after the point, rounded half away from zero.
std::string FixedMagnitude(double magnitude, int decimals) {
  std::vector<char> buffer(static_cast<std::size_t>(std::numeric_limits<double>::max_exponent10 + decimals + 8));
  const auto print = [&](int precision) {
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::fixed, precision);
    return std::string(buffer.data(), result.ptr);
  };
  // A value can lie exactly halfway only when it has at most decimals + 1 decimal places,
  // which is when magnitude * 2^(decimals + 1) is an integer; then that printing is exact.
  const double scaled = std::ldexp(magnitude, decimals + 1);
  if (scaled == std::floor(scaled)) return DropLastDigitRounded(print(decimals + 1));
  return print(decimals);
}

}  // namespace

double Val(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  const std::size_t start = pos;
  bool nonzeroInteger = false, anyDigit = false;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    nonzeroInteger = nonzeroInteger || text[pos] != '0';
    anyDigit = true;
    ++pos;
  }
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
      anyDigit = true;
      ++pos;
    }
  }
  if (!anyDigit) return 0.0;
  double value = 0.0;
  const auto result = std::from_chars(text.data() + start, text.data() + pos, value, std::chars_format::fixed);
  if (result.ec == std::errc::result_out_of_range) {
    value = nonzeroInteger ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

std::string Str(std::int64_t value) { return std::to_string(value); }

std::string Format(double value, std::string_view pattern) {
  // Patterns are zeros, a point and zeros: the zeros before the point give the least number
  // of integer digits, those after it the number of decimals.
  const std::size_t point = pattern.find('.');
  const std::string_view integerPart = pattern.substr(0, point);
  const std::string_view decimalPart = point == std::string_view::npos ? std::string_view{} : pattern.substr(point + 1);
  const auto allZeros = [](std::string_view s) { return s.find_first_not_of('0') == std::string_view::npos; };
  if (pattern.empty() || !allZeros(integerPart) || !allZeros(decimalPart) ||
      (point != std::string_view::npos && decimalPart.empty())) {
    throw InvalidArgumentException("unsupported number format \"" + std::string(pattern) + "\"");
  }

  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0.0 ? "-INF" : "INF";

  std::string digits = FixedMagnitude(std::fabs(value), static_cast<int>(decimalPart.size()));
  const std::size_t digitsPoint = digits.find('.');
  std::string integerDigits = digits.substr(0, digitsPoint);
  const std::string decimals = digitsPoint == std::string::npos ? std::string() : digits.substr(digitsPoint);
  if (integerDigits == "0") integerDigits.clear();
  if (integerDigits.size() < integerPart.size()) {
    integerDigits.insert(0, integerPart.size() - integerDigits.size(), '0');
  }
  std::string text = value < 0.0 ? "-" : "";
  return text + integerDigits + decimals;
}

std::string Right(std::string_view text, std::int64_t n) {
  if (n <= 0) return {};
  std::vector<std::size_t> starts;
  for (std::size_t pos = 0; pos < text.size(); pos += DecodeAt(text, pos).length) starts.push_back(pos);
  if (static_cast<std::uint64_t>(n) >= starts.size()) return std::string(text);
  return std::string(text.substr(starts[starts.size() - static_cast<std::size_t>(n)]));
}

std::int64_t Len(std::string_view text) {
  std::int64_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += DecodeAt(text, pos).length) ++count;
  return count;
}

std::int64_t Asc(std::string_view text) {
  if (text.empty()) return 0;
  return static_cast<std::int64_t>(DecodeAt(text, 0).code);
}

std::string Chr(std::int64_t code) {
  if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
  const auto c = static_cast<std::uint32_t>(code);
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

int RuntimeStringCompare(std::string_view a, std::string_view b) {
  // UTF-8 byte order is code point order.
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string RuntimeAddString(std::string_view a, std::string_view b) {
  std::string out;
  out.reserve(a.size() + b.size());
  out.append(a).append(b);
  return out;
}

}  // namespace fw
