// ReadNumber against strtod, which reads the same leading-number grammar once
// the text is cut at the first character that grammar cannot hold; then the
// number's rounding to a whole one against the FPU's default mode, half to even.

#include <bitset>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "engine/entries/NumberReader.h"
#include "engine/core/RuntimeFault.h"

namespace {

// Octal digits as hexadecimal ones, three bits each, regrouped by four from the right.
std::string OctalAsHex(const std::string& octal)
{
    std::string bits;
    for (char c : octal) bits += std::bitset<3>(static_cast<unsigned long>(c - '0')).to_string();
    bits.insert(0, (4 - bits.size() % 4) % 4, '0');
    std::string hex;
    for (std::size_t i = 0; i < bits.size(); i += 4) hex += "0123456789abcdef"[std::bitset<4>(bits, i, 4).to_ulong()];
    return hex;
}

// The expected value, or nothing when an overflow fault is expected.
bool Reference(const std::string& text, double& value)
{
    std::string cleaned = text;
    std::erase_if(cleaned, [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
    std::string number;
    const bool hex = cleaned.size() >= 2 && cleaned[0] == '&' && (cleaned[1] == 'H' || cleaned[1] == 'h');
    const bool octal = cleaned.size() >= 2 && cleaned[0] == '&' && (cleaned[1] == 'O' || cleaned[1] == 'o');
    if (hex || octal) {
        const char* allowed = hex ? "0123456789abcdefABCDEF" : "01234567";
        const std::size_t end = cleaned.find_first_not_of(allowed, 2);
        const std::string digits = cleaned.substr(2, end == std::string::npos ? std::string::npos : end - 2);
        // Built whole, not edited in place: GCC 12 sees a false overlap in a string's replace.
        number = digits.empty() ? std::string(1, '0')
                                : std::string("0x").append(octal ? OctalAsHex(digits) : digits).append("p0");
    } else {
        number = cleaned.substr(0, cleaned.find_first_not_of("0123456789+-.eE"));
    }
    errno = 0;
    value = std::strtod(number.c_str(), nullptr);
    return !(errno == ERANGE && std::isinf(value));
}

// A whole number as N (a 32-bit integer) or as W, fp, fm are held: rounded half to even, warned when not whole.
void CheckRounding(double value)
{
    const double even = std::nearbyint(value);
    FUZZ_CHECK(trelvano::RoundHalfEven(value) == even && trelvano::IsWholeNumber(value) == (value == even));
    const bool fits = even >= -2147483648.0 && even <= 2147483647.0;
    try {
        FUZZ_CHECK(trelvano::ToInt32HalfEven(value) == even && fits);
    } catch (const trelvano::RuntimeFault& fault) {
        FUZZ_CHECK(!fits && fault.kind() == trelvano::FaultKind::Overflow);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    double expected = 0.0;
    const bool fits = Reference(text, expected);
    try {
        const double read = trelvano::ReadNumber(text);
        if (!fits || std::memcmp(&read, &expected, sizeof read) != 0) {
            std::fprintf(stderr, "read %.17g, expected %s%.17g\n", read, fits ? "" : "overflow, not ", expected);
            FUZZ_CHECK(false);
        }
        CheckRounding(read);
    } catch (const trelvano::RuntimeFault& fault) {
        FUZZ_CHECK(!fits && fault.kind() == trelvano::FaultKind::Overflow);
    }
    return 0;
}
