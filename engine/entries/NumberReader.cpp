#include "engine/entries/NumberReader.h"

#include <cmath>
#include <string>

#include "engine/core/RuntimeFault.h"
#include "engine/entries/DecimalText.h"

namespace trelvano {

namespace {

bool IsIgnoredBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The text with every blank, tab and line feed taken out, so that "1 000" and
// "& H FF" read as the user meant them.
std::string WithoutBlanks(std::string_view text)
{
    std::string cleaned;
    cleaned.reserve(text.size());
    for (char c : text) {
        if (!IsIgnoredBlank(c)) cleaned.push_back(c);
    }
    return cleaned;
}

// Hexadecimal digits converted with the library's correctly rounded reader, so
// that a value of more than 53 bits rounds as a decimal one would.
double HexDigitsToDouble(const std::string& hexDigits)
{
    if (hexDigits.empty()) return 0.0;
    const ReadValue read = ReadHexText(hexDigits);
    // An integer can only leave the range upwards.
    if (read.outOfRange) throw RuntimeFault(FaultKind::Overflow);
    return read.value;
}

double ReadHexadecimal(std::string_view digits)
{
    std::string hex;
    for (char c : digits) {
        if (HexDigitValue(c) < 0) break;
        hex.push_back(c);
    }
    return HexDigitsToDouble(hex);
}

// Octal digits regrouped, three bits each, into hexadecimal ones: the exact
// bits then go through the same correctly rounded conversion.
double ReadOctal(std::string_view digits)
{
    std::string bits;
    for (char c : digits) {
        if (c < '0' || c > '7') break;
        const int d = c - '0';
        bits.push_back((d & 4) ? '1' : '0');
        bits.push_back((d & 2) ? '1' : '0');
        bits.push_back((d & 1) ? '1' : '0');
    }
    bits.insert(0, (4 - bits.size() % 4) % 4, '0');
    std::string hex;
    for (std::size_t i = 0; i < bits.size(); i += 4) {
        int nibble = 0;
        for (std::size_t b = i; b < i + 4; ++b) nibble = nibble * 2 + (bits[b] - '0');
        hex.push_back("0123456789abcdef"[nibble]);
    }
    return HexDigitsToDouble(hex);
}

// Decimal order of magnitude of the first significant digit of
// integer.fraction (digits only), used to tell a number too large to hold from
// one merely too small.
long LeadingOrder(std::string_view integer, std::string_view fraction)
{
    const std::size_t firstInteger = integer.find_first_not_of('0');
    if (firstInteger != std::string_view::npos) return static_cast<long>(integer.size() - firstInteger) - 1;
    const std::size_t firstFraction = fraction.find_first_not_of('0');
    if (firstFraction != std::string_view::npos) return -static_cast<long>(firstFraction) - 1;
    return 0;
}

std::string_view Digits(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return text.substr(start, pos - start);
}

// The decimal number at the start of `text`: sign, digits, at most one ".",
// then an exponent only when its "E" is followed by digits.
double ReadDecimal(std::string_view text)
{
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::string_view integer = Digits(text, pos);
    std::string_view fraction;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        fraction = Digits(text, pos);
    }
    if (integer.empty() && fraction.empty()) return 0.0;

    // Rebuilt in the one form the library reader is sure to accept.
    std::string number = integer.empty() ? std::string("0") : std::string(integer);
    if (!fraction.empty()) number.append(".").append(fraction);

    long exponent = 0;
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        std::size_t expPos = pos + 1;
        bool expNegative = false;
        if (expPos < text.size() && (text[expPos] == '+' || text[expPos] == '-')) {
            expNegative = text[expPos] == '-';
            ++expPos;
        }
        const std::string_view expDigits = Digits(text, expPos);
        if (!expDigits.empty()) {
            number.append(expNegative ? "e-" : "e").append(expDigits);
            for (char c : expDigits) {
                if (exponent < 1'000'000'000) exponent = exponent * 10 + (c - '0');
            }
            if (expNegative) exponent = -exponent;
        }
    }

    const ReadValue read = ReadDecimalText(number);
    double value = read.value;
    if (read.outOfRange) {
        if (LeadingOrder(integer, fraction) + exponent > 0) throw RuntimeFault(FaultKind::Overflow);
        value = 0.0;  // below the smallest double: as good as zero
    }
    return negative ? -value : value;
}

}  // namespace

double ReadNumber(std::string_view text)
{
    const std::string cleaned = WithoutBlanks(text);
    const std::string_view s = cleaned;
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') return ReadHexadecimal(s.substr(2));
        if (s[1] == 'O' || s[1] == 'o') return ReadOctal(s.substr(2));
    }
    return ReadDecimal(s);
}

double RoundHalfEven(double value)
{
    if (!std::isfinite(value)) return value;
    const double below = std::floor(value);
    const double fraction = value - below;  // exact for every finite double
    if (fraction < 0.5) return below;
    if (fraction > 0.5) return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

std::int32_t ToInt32HalfEven(double value)
{
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw RuntimeFault(FaultKind::Overflow);
    return static_cast<std::int32_t>(rounded);
}

bool IsWholeNumber(double value)
{
    return !(value - std::floor(value) > 0.0);
}

}  // namespace trelvano
