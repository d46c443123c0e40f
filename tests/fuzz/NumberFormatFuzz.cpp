// The readout formats against printf's digits. printf rounds the exact binary
// value; only an exact half differs, which the readouts round away from zero.

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "engine/entries/NumberFormat.h"

namespace {

// printf with the given pattern, an exact half rounded away from zero, "n.d." for no number; the point shown
// as `separator`.
std::string Printed(const char* pattern, const char* exactPattern, int kept, double value, const char* separator)
{
    if (!std::isfinite(value)) return "n.d.";
    // Every digit of a double: at most 767 significant ones, 1074 after the point.
    static char exact[1500];
    std::snprintf(exact, sizeof exact, exactPattern, value);
    std::string digits;
    for (const char* c = exact; *c != '\0' && *c != 'E'; ++c) {
        if (*c >= '0' && *c <= '9') digits.push_back(*c);
    }
    // In the fixed pattern every digit before the point counts.
    const std::size_t cut = digits.find_first_not_of('0') == std::string::npos ? digits.size() : [&] {
        if (kept >= 0) return static_cast<std::size_t>(kept);
        const char* point = std::strchr(exact, '.');
        return static_cast<std::size_t>(point - exact) - (value < 0.0 ? 1 : 0) + 2;
    }();
    const bool half =
        cut < digits.size() && digits[cut] == '5' && digits.find_first_not_of('0', cut + 1) == std::string::npos;
    const int mode = std::fegetround();
    if (half) std::fesetround(value < 0.0 ? FE_DOWNWARD : FE_UPWARD);
    char out[400];
    std::snprintf(out, sizeof out, pattern, value);
    std::fesetround(mode);
    std::string text = out;
    if (text[0] == '-' && text.find_first_not_of("-0.E+") == std::string::npos) text.erase(0, 1);  // no "-0.00"
    return text.replace(text.find('.'), 1, separator);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < sizeof(double)) return 0;
    double value = 0.0;
    std::memcpy(&value, data, sizeof value);
    const char* separator = size > sizeof value && (data[sizeof value] & 1) ? "," : ".";
    const std::string fixed = Printed("%.2f", "%.1100f", -1, value, separator);
    const std::string scientific = Printed("%.2E", "%.800E", 3, value, separator);
    const std::string gotFixed = trelvano::FormatFixed2(value, separator);
    const std::string gotScientific = trelvano::FormatScientific2(value, separator);
    if (gotFixed != fixed || gotScientific != scientific) {
        std::fprintf(stderr, "%a: \"%s\" \"%s\", expected \"%s\" \"%s\"\n", value, gotFixed.c_str(),
                     gotScientific.c_str(), fixed.c_str(), scientific.c_str());
        FUZZ_CHECK(false);
    }
    return 0;
}
