#pragma once
// Text and number services. Text is UTF-8; every length and position counts characters
// (Unicode code points), not bytes. Number formatting never depends on the locale.

#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

// The number at the start of the text, as a double: leading spaces and tabs skipped, an optional
// sign, digits with an optional decimal point; 0 when there is none ("" gives 0, "007" gives 7).
// A number too large for a double gives an infinity.
double Val(std::string_view text);
// The plain decimal text of an integer.
std::string Str(std::int64_t value);
// A double by pattern: "0.0000" (at least one digit before the point) or ".0000" (no digit
// before the point when the integer part is 0). Four decimals, rounded half away from zero;
// a negative value keeps its minus sign; NaN gives "NaN", infinities "INF" and "-INF".
// Other patterns of zeros around one point work alike (the zeros before it give the least
// number of integer digits, those after it the decimals); any other pattern raises
// InvalidArgumentException.
std::string Format(double value, std::string_view pattern);
// The last n characters of the text (all of it when shorter, none when n <= 0).
std::string Right(std::string_view text, std::int64_t n);
// The length in characters.
std::int64_t Len(std::string_view text);
// The code point of the first character; 0 for the empty text. A byte that starts no well-formed
// UTF-8 sequence is one character of its own, U+FFFD.
std::int64_t Asc(std::string_view text);
// The one-character text of a code point; empty for a value that is no Unicode scalar value.
std::string Chr(std::int64_t code);
// Negative, zero or positive as a sorts before, equals, or sorts after b (by code point).
int RuntimeStringCompare(std::string_view a, std::string_view b);
// Concatenation.
std::string RuntimeAddString(std::string_view a, std::string_view b);

}  // namespace fw
