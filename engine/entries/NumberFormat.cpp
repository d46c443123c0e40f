#include "engine/entries/NumberFormat.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/entries/DecimalText.h"

namespace trelvano {

namespace {

constexpr const char* NotDefined = "n.d.";

// A finite, non-negative value as significant digits d1 d2 ... dn and the
// decimal exponent of d1 (value = d1.d2...dn × 10^exponent).
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
};

// Every significant digit of the binary value: at most 767 of them for a
// double, so this precision leaves nothing out and the rounding below is
// exact, with no second rounding on the way.
DecimalDigits ExactDigits(double magnitude)
{
    constexpr int AllDigits = 770;
    const std::string scientific = ScientificText(magnitude, AllDigits);
    const std::string_view text(scientific);
    const std::size_t e = text.find('e');
    DecimalDigits out;
    for (char c : text.substr(0, e)) {
        if (c != '.') out.digits.push_back(c);
    }
    out.exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    return out;
}

// Keeps the first `keep` digits of `digits` (padding with zeros), rounding on
// the digit after them; an exact half goes up, away from zero, as taught at
// school and as readers of a readout expect. Returns true when the carry added a
// leading digit (999 -> 1000).
bool RoundToDigits(std::string& digits, int keep)
{
    const bool roundUp = keep >= 0 && static_cast<std::size_t>(keep) < digits.size() && digits[keep] >= '5';
    digits.resize(keep > 0 ? static_cast<std::size_t>(keep) : 0, '0');
    if (!roundUp) return false;
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

bool AllZeros(const std::string& digits)
{
    return digits.find_first_not_of('0') == std::string::npos;
}

}  // namespace

std::string FormatFixed2(double value, std::string_view decimalSeparator)
{
    if (!std::isfinite(value)) return NotDefined;
    std::string digits = "0";
    if (value != 0.0) {
        DecimalDigits d = ExactDigits(std::fabs(value));
        // Digits down to the hundredths: exponent + 1 before the point, two after.
        const int keep = d.exponent + 3;
        RoundToDigits(d.digits, keep);
        digits = d.digits.empty() ? "0" : d.digits;
    }
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');

    std::string out;
    // A value that rounds to zero shows no sign: "-0.00" would only puzzle.
    if (value < 0.0 && !AllZeros(digits)) out.push_back('-');
    out.append(digits, 0, digits.size() - 2);
    out.append(decimalSeparator);
    out.append(digits, digits.size() - 2, 2);
    return out;
}

std::string FormatScientific2(double value, std::string_view decimalSeparator)
{
    if (!std::isfinite(value)) return NotDefined;
    std::string digits = "000";
    int exponent = 0;
    if (value != 0.0) {
        DecimalDigits d = ExactDigits(std::fabs(value));
        if (RoundToDigits(d.digits, 3)) {
            d.digits.pop_back();
            ++d.exponent;
        }
        digits = d.digits;
        exponent = d.exponent;
    }

    std::string out;
    if (value < 0.0) out.push_back('-');  // three significant digits never round to zero
    out.push_back(digits[0]);
    out.append(decimalSeparator);
    out.append(digits, 1, 2);
    out.push_back('E');
    out.push_back(exponent < 0 ? '-' : '+');
    const std::string expDigits = std::to_string(std::abs(exponent));
    if (expDigits.size() < 2) out.push_back('0');
    out.append(expDigits);
    return out;
}

}  // namespace trelvano
