#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace trelvano::web {

// One press as the browser tests make it: a name, the texts set before it
// (every other box keeps its initial text) and the device pixel ratio.
struct PressCase {
    std::string name;
    std::vector<std::pair<std::string, std::string>> texts;
    double ratio = 1.0;
};

// A line "name Text13=1000 Combo1=AM ratio=2": words split at blanks, so no
// value holds one. Nothing for a blank line or a comment (#); an error text
// for a word that is not name=value or a ratio that is not a number.
std::optional<PressCase> ReadPressCase(const std::string& line, std::string& error);

}  // namespace trelvano::web
