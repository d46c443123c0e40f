#pragma once

#include <string>
#include <string_view>

namespace trelvano {

// The conversions between doubles and text that the entries and the readouts
// build on, always with "." whatever the user's locale, and correctly rounded.
// They take the standard library's <charconv> where it converts doubles, and
// the C library's strtod and printf in the C locale where it does not (as
// libc++ 14 does not), which give the same digits.

struct ReadValue {
    double value = 0.0;
    bool outOfRange = false;  // beyond the largest double, or below the smallest
};

// Decimal text as <charconv>'s general format reads it: digits, an optional
// fraction and an optional exponent, nothing else.
ReadValue ReadDecimalText(std::string_view text);
// Hexadecimal digits, with no prefix, point or exponent.
ReadValue ReadHexText(std::string_view digits);

// `value` as d.ddd…e±XX with `decimals` digits after the point.
std::string ScientificText(double value, int decimals);
// `value` as ddd.ddd with `decimals` digits after the point.
std::string FixedText(double value, int decimals);

}  // namespace trelvano
