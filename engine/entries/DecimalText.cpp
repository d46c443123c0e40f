#include "engine/entries/DecimalText.h"

#include <version>

#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
#define TRELVANO_FLOAT_CHARCONV 1
#include <charconv>
#include <system_error>
#else
#define TRELVANO_FLOAT_CHARCONV 0
#include <locale.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#if defined(__APPLE__)
#include <xlocale.h>
#endif
#endif

namespace trelvano {

#if TRELVANO_FLOAT_CHARCONV

namespace {

ReadValue Read(std::string_view text, std::chars_format format)
{
    ReadValue read;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), read.value, format);
    read.outOfRange = result.ec == std::errc::result_out_of_range;
    return read;
}

std::string Write(double value, std::chars_format format, int decimals)
{
    // Enough for every digit of a double at the precisions asked for.
    std::string text(static_cast<std::size_t>(decimals) + 400, '\0');
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value, format, decimals);
    text.resize(static_cast<std::size_t>(result.ptr - text.data()));
    return text;
}

}  // namespace

ReadValue ReadDecimalText(std::string_view text)
{
    return Read(text, std::chars_format::general);
}

ReadValue ReadHexText(std::string_view digits)
{
    return Read(digits, std::chars_format::hex);
}

std::string ScientificText(double value, int decimals)
{
    return Write(value, std::chars_format::scientific, decimals);
}

std::string FixedText(double value, int decimals)
{
    return Write(value, std::chars_format::fixed, decimals);
}

#else

namespace {

// The C library reads and writes in the calling thread's locale: this switches
// the thread to the C locale for one conversion, so that the point stays ".".
class CLocaleScope {
public:
    CLocaleScope() : previous_(uselocale(CLocale())) {}
    ~CLocaleScope() { uselocale(previous_); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    static locale_t CLocale()
    {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        return c;
    }
    locale_t previous_;
};

// strtod rounds correctly as from_chars does. It reports leaving the range
// through errno even for results that are merely subnormal, so the range is
// judged from the value instead.
ReadValue Read(const std::string& text)
{
    const CLocaleScope c;
    ReadValue read;
    read.value = std::strtod(text.c_str(), nullptr);
    read.outOfRange = std::isinf(read.value);
    return read;
}

std::string Write(const char* format, double value, int decimals)
{
    const CLocaleScope c;
    const int length = std::snprintf(nullptr, 0, format, decimals, value);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, decimals, value);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

}  // namespace

ReadValue ReadDecimalText(std::string_view text)
{
    ReadValue read = Read(std::string(text));
    // Zero from nonzero digits: below the smallest double.
    if (read.value == 0.0)
        read.outOfRange = text.substr(0, text.find_first_of("eE")).find_first_of("123456789") != std::string_view::npos;
    return read;
}

ReadValue ReadHexText(std::string_view digits)
{
    return Read("0x" + std::string(digits));
}

std::string ScientificText(double value, int decimals)
{
    return Write("%.*e", value, decimals);
}

std::string FixedText(double value, int decimals)
{
    return Write("%.*f", value, decimals);
}

#endif

}  // namespace trelvano
