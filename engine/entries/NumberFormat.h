#pragma once

#include <string>
#include <string_view>

namespace trelvano {

// "0.00": fixed point, two decimals, no grouping, leading minus for negatives.
std::string FormatFixed2(double value, std::string_view decimalSeparator);

// "0.00E+00": one digit, two decimals, "E", exponent sign always, at least two exponent digits.
std::string FormatScientific2(double value, std::string_view decimalSeparator);

}  // namespace trelvano
