#pragma once

#include <string>
#include <vector>

#include "engine/AnalysisRun.h"
#include "tests/support/RecordingCanvas.h"

namespace trelvano::support {

// The windows a run talks to: the type box says `type`; every call on them and on both plots is logged in
// order, every message kept.
struct RecordingHost : RunHost, MessageSink {
    explicit RecordingHost(std::string type = "AM", plot::PixelSize pixels = {})
        : type(std::move(type)), waveform(pixels, "waveform", &log), spectrum(pixels, "spectrum", &log)
    {
    }
    std::string ModulationText() override
    {
        log.push_back("type");
        return type;
    }
    void ShowWaveformWindow() override { log.push_back("show"); }
    plot::Canvas& WaveformPlot() override { return waveform; }
    plot::Canvas& SpectrumPlot() override { return spectrum; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    std::string type;
    std::vector<std::string> log, messages;
    RecordingCanvas waveform, spectrum;
};

}  // namespace trelvano::support
