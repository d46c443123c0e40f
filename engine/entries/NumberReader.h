#pragma once

#include <cstdint>
#include <string_view>

namespace trelvano {

// The number at the start of an entry text. Blanks, tabs and line feeds are
// ignored anywhere; "." is the only decimal separator ("," ends the number);
// "&H" and "&O" introduce hexadecimal and octal integers; a text with no number
// reads as 0. Never fails on malformed text; raises Overflow for a number
// beyond double range.
double ReadNumber(std::string_view text);

// Nearest whole number, an exact half going to the even neighbour.
double RoundHalfEven(double value);

// RoundHalfEven converted to a signed 32-bit integer; Overflow when outside.
std::int32_t ToInt32HalfEven(double value);

// False for any value with a fractional part (value - floor(value) > 0).
bool IsWholeNumber(double value);

}  // namespace trelvano
