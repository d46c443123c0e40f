#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trelvano::web {

// Just enough JSON for what the page is handed: quoted strings and numbers,
// written straight into the text being built.

// `text` as a JSON string, quotes included. Control characters are escaped;
// everything else, UTF-8 included, goes through as it is.
std::string JsonString(std::string_view text);

// A double that reads back as the same double; null when it is not finite,
// which JSON cannot hold.
std::string JsonNumber(double value);
std::string JsonNumber(std::int64_t value);

// An object written member by member, each value already JSON.
class JsonObject {
public:
    JsonObject& Add(std::string_view name, std::string_view json);
    JsonObject& AddString(std::string_view name, std::string_view text) { return Add(name, JsonString(text)); }
    std::string Text() const { return text_ + "}"; }

private:
    std::string text_ = "{";
};

// An array of JSON values.
template <typename Values>
std::string JsonArray(const Values& values)
{
    std::string text = "[";
    for (const auto& value : values) {
        if (text.size() > 1) text += ", ";
        text += value;
    }
    text += "]";
    return text;
}

}  // namespace trelvano::web
