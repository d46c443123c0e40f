// trelvano_api_replay < CALLS
// Makes the calls the page's worker makes, through the same C interface, in a
// native build, so that the browser tests compare the page with the desktop's
// engine and plots call for call. One call a line, its words split at tabs:
//   forms | ratio R | separator S | set CONTROL TEXT | press | spectrum
//   close FORM | readout FORM X Y | key FORM KEY | plotsize FORM WIDTH HEIGHT RATIO
//   image FORM PATH | outofmemory
// Each answer is one line on stdout: what the call returned (JSON), "null"
// for a call that returns nothing, and for "image" the image's size, its
// RGBA written to PATH.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "web/host/Json.h"
#include "web/host/TrelvanoApi.h"

namespace {

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words(1);
    for (const char c : line) {
        if (c == '\t')
            words.emplace_back();
        else
            words.back() += c;
    }
    return words;
}

bool WriteImage(const std::string& form, const std::string& path)
{
    const auto bytes =
        static_cast<std::streamsize>(trelvano_image_width(form.c_str())) * trelvano_image_height(form.c_str()) * 4;
    std::ofstream out(path, std::ios::binary);
    if (bytes > 0) out.write(reinterpret_cast<const char*>(trelvano_image(form.c_str())), bytes);
    return static_cast<bool>(out);
}

// The answer to one call, or an empty string for a line that is no call.
std::string Answer(const std::vector<std::string>& w)
{
    const std::string& call = w[0];
    const auto arity = w.size() - 1;
    const auto number = [&w](std::size_t i) { return std::strtod(w[i].c_str(), nullptr); };
    if (call == "forms" && arity == 0) return trelvano_forms();
    if (call == "press" && arity == 0) return trelvano_press();
    if (call == "spectrum" && arity == 0) return trelvano_show_spectrum();
    if (call == "close" && arity == 1) return trelvano_close(w[1].c_str());
    if (call == "readout" && arity == 3) return trelvano_readout(w[1].c_str(), number(2), number(3));
    if (call == "key" && arity == 2) return trelvano_key(w[1].c_str(), w[2].c_str());
    if (call == "plotsize" && arity == 4) return trelvano_plot_size(w[1].c_str(), number(2), number(3), number(4));
    if (call == "outofmemory" && arity == 0) return trelvano::web::JsonString(trelvano_out_of_memory_message());
    if (call == "image" && arity == 2) {
        if (!WriteImage(w[1], w[2])) return "";
        return "{\"width\": " + std::to_string(trelvano_image_width(w[1].c_str())) +
               ", \"height\": " + std::to_string(trelvano_image_height(w[1].c_str())) + "}";
    }
    // The calls that return nothing.
    if (call == "ratio" && arity == 1) trelvano_set_pixel_ratio(number(1));
    if (call == "separator" && arity == 1) trelvano_set_decimal_separator(w[1].c_str());
    if (call == "set" && arity == 2) trelvano_set_text(w[1].c_str(), w[2].c_str());
    return (arity == 1 && (call == "ratio" || call == "separator")) || (arity == 2 && call == "set") ? "null" : "";
}

}  // namespace

int main()
{
    int lineNumber = 0;
    for (std::string line; std::getline(std::cin, line);) {
        ++lineNumber;
        const std::string answer = Answer(Words(line));
        if (answer.empty()) {
            std::cerr << "trelvano_api_replay: line " << lineNumber << ": not a call, or its file not written: " << line
                      << "\n";
            return 2;
        }
        std::cout << answer << "\n";
    }
    return std::cout.flush() ? 0 : 1;
}
