// trelvano_web_reference CASES OUTDIR
// The native engine's answer to each press case in CASES (web/tools/PressCase.h),
// each from a fresh host, as one JSON line on stdout:
//   {"name": ..., "events": [...], "figures": {...},
//    "images": {"Form2": {"width": w, "height": h}, ...}}
// and each existing plot's image as OUTDIR/<name>-<form>.rgba, raw RGBA.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "web/host/Json.h"
#include "web/host/WebHost.h"
#include "web/tools/PressCase.h"

namespace {

using namespace trelvano::web;

bool WriteImage(const std::string& path, const PlotWindow& window)
{
    std::ofstream out(path, std::ios::binary);
    const auto rgba = window.Rgba();
    out.write(reinterpret_cast<const char*>(rgba.data()), static_cast<std::streamsize>(rgba.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: trelvano_web_reference CASES OUTDIR\n";
        return 2;
    }
    std::ifstream cases(argv[1]);
    if (!cases) {
        std::cerr << "trelvano_web_reference: cannot read " << argv[1] << "\n";
        return 2;
    }
    const std::string outdir = argv[2];
    int lineNumber = 0;
    for (std::string line; std::getline(cases, line);) {
        ++lineNumber;
        std::string error;
        const auto press = ReadPressCase(line, error);
        if (!press) {
            if (error.empty()) continue;
            std::cerr << argv[1] << ":" << lineNumber << ": " << error << "\n";
            return 2;
        }
        WebHost host;
        host.SetPixelRatio(press->ratio);
        for (const auto& [control, text] : press->texts) host.SetText(control, text);
        const std::string events = host.Press();

        JsonObject images;
        for (const char* form : {"Form2", "Form3"}) {
            const PlotWindow* window = host.Window(form);
            if (window == nullptr) continue;
            const std::string path = outdir + "/" + press->name + "-" + form + ".rgba";
            if (!WriteImage(path, *window)) {
                std::cerr << "trelvano_web_reference: cannot write " << path << "\n";
                return 1;
            }
            images.Add(form, JsonObject()
                                 .Add("width", JsonNumber(std::int64_t{window->Pixels().width}))
                                 .Add("height", JsonNumber(std::int64_t{window->Pixels().height}))
                                 .Text());
        }
        std::cout << JsonObject()
                         .AddString("name", press->name)
                         .Add("events", events)
                         .Add("figures", host.Figures())
                         .Add("images", images.Text())
                         .Text()
                  << "\n";
    }
    return std::cout.flush() ? 0 : 1;
}
