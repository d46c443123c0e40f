#include "web/tools/PressCase.h"

#include <cstdlib>
#include <sstream>

namespace trelvano::web {

std::optional<PressCase> ReadPressCase(const std::string& line, std::string& error)
{
    std::istringstream words(line);
    PressCase press;
    if (!(words >> press.name) || press.name.front() == '#') return std::nullopt;
    for (std::string word; words >> word;) {
        const auto equals = word.find('=');
        if (equals == std::string::npos || equals == 0) {
            error = "not name=value: " + word;
            return std::nullopt;
        }
        std::string name = word.substr(0, equals);
        std::string value = word.substr(equals + 1);
        if (name == "ratio") {
            char* end = nullptr;
            press.ratio = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !(press.ratio > 0.0)) {
                error = "not a pixel ratio: " + value;
                return std::nullopt;
            }
        } else {
            press.texts.emplace_back(std::move(name), std::move(value));
        }
    }
    return press;
}

}  // namespace trelvano::web
