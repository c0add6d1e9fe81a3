#pragma once
// Reading a number field for the calculation's checks.

#include <cstdint>
#include <string_view>

// The text's number (Val), truncated toward zero. Not a number, or beyond the 64-bit range,
// gives the lowest 64-bit value, which fails every check as below its minimum.
std::int64_t FieldValue(std::string_view text);
