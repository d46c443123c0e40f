#include "web/host/Json.h"

#include <cmath>
#include <cstdio>

namespace trelvano::web {

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::string JsonNumber(double value)
{
    if (!std::isfinite(value)) return "null";
    // Seventeen digits bring any double back exactly; the C library formats
    // them where this libc++ has no floating to_chars.
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.17g", value);
    return digits;
}

JsonObject& JsonObject::Add(std::string_view name, std::string_view json)
{
    if (text_.size() > 1) text_ += ", ";
    text_ += JsonString(name);
    text_ += ": ";
    text_ += json;
    return *this;
}

std::string JsonNumber(std::int64_t value)
{
    return std::to_string(value);
}

}  // namespace trelvano::web
