// Entries, one "Grafici" press, then readouts at many cursor positions.
// Input: the ten entry texts one per line (Kt, Vp, W, N, mAM, mf, Kf, fp, fm,
// type); any bytes after the tenth line are cursor positions, two floats each.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "engine/CursorReadout.h"
#include "engine/entries/NumberReader.h"
#include "engine/core/RuntimeFault.h"
#include "plot/ClipSegment.h"
#include "plot/PlotPoint.h"
#include "tests/support/Entries.h"
#include "tests/support/RecordingHost.h"

using namespace trelvano;

namespace {

struct Host : support::RecordingHost {
    Host(const AnalysisState& s, std::string type, plot::PixelSize pixels)
        : RecordingHost(std::move(type), pixels), state(s)
    {
    }
    // The run starts only after the intake accepted: every field it wrote is a number.
    void ShowWaveformWindow() override
    {
        const AnalysisParameters& p = state.params;
        for (double v : {p.Vp, p.Kt, p.FreqScale, p.mAM, p.mf, p.Kf, p.fp, p.fm, p.W}) FUZZ_CHECK(std::isfinite(v));
        FUZZ_CHECK(p.W != 0.0 && p.fp != 0.0 && p.fm != 0.0 && p.fp <= p.N / (p.W * 4.0));
        accepted = true;
    }
    const AnalysisState& state;
    bool accepted = false;
};

// False when a fault ended the press, the only thing that may escape it. Every line lies inside the guard box
// at which the passes cut far-off segments; a NaN is outside every box.
bool Press(AnalysisState& state, const EntryTexts& entries, Host& host)
{
    bool completed = true;
    try {
        GraficiAction(state, entries, host, host);
    } catch (const RuntimeFault&) {
        completed = false;
    }
    const auto inside = [](float x, float y) {
        const plot::ClipBox& box = plot::GuardBox;
        return x >= box.left && x <= box.right && y >= box.bottom && y <= box.top;
    };
    for (const support::Lines* lines : {&host.waveform.lines, &host.spectrum.lines}) {
        for (const support::RecordedLine& l : *lines) FUZZ_CHECK(inside(l.x1, l.y1) && inside(l.x2, l.y2));
    }
    return completed;
}

// Every readout answers (an exception escaping ends the run as a crash), with numbers or "n.d." and never a
// raw nan or inf.
void Readouts(AnalysisState& state, const std::vector<plot::PlotPoint>& cursors)
{
    for (const plot::PlotPoint& c : cursors) {
        for (const char* separator : {".", ","}) {
            const std::string text =
                WaveformReadout(state, c.x, c.y, separator) + SpectrumReadout(state, c.x, c.y, separator);
            for (const char* bad : {"nan", "NaN", "inf", "Inf"}) FUZZ_CHECK(text.find(bad) == std::string::npos);
        }
    }
}

// Six buffers of N + 1 doubles a press, and under ASan earlier presses' linger in its quarantine: with N up
// to 2e6 a run peaked at 976 MB of run-fuzz.sh's 1024 MB. Beyond the cap only an N + 1 that overflows is
// fuzzed, as it is refused before any allocation.
constexpr double LargestFuzzedN = 2.5e5;

bool WithinMemoryCap(const std::string& nText)
{
    try {
        const double n = RoundHalfEven(ReadNumber(nText));
        return std::fabs(n) <= LargestFuzzedN || n >= 2147483647.0;
    } catch (const RuntimeFault&) {
        return true;  // the intake refuses it before any allocation
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (fields.size() < 10) {
        const std::size_t end = std::min(input.find('\n', pos), size);
        fields.emplace_back(input.substr(pos, end - pos));
        pos = std::min(end + 1, size);
    }
    const EntryTexts entries{fields[0], fields[1], fields[2], fields[3], fields[4],
                             fields[5], fields[6], fields[7], fields[8], fields[9]};
    if (!WithinMemoryCap(entries.Text13)) return 0;

    std::vector<plot::PlotPoint> cursors{{0, 0}, {50, 50}, {100, 100}, {45, 22.5F}, {-1e30F, 1e30F}};
    for (; pos + 8 <= size; pos += 8) {
        plot::PlotPoint c;
        std::memcpy(&c.x, data + pos, 4);
        std::memcpy(&c.y, data + pos + 4, 4);
        cursors.push_back(c);
    }
    // Merged columns on odd-sized inputs, every segment on even ones.
    const plot::PixelSize pixels = size % 2 ? plot::PixelSize{1001, 609} : plot::PixelSize{};

    AnalysisState state;
    Host host(state, entries.Combo1, pixels);
    const bool completed = Press(state, entries, host);
    Readouts(state, cursors);
    if (!completed) {
        // The state a fault leaves behind still serves the next press with the defaults.
        Host again(state, "AM", pixels);
        FUZZ_CHECK(Press(state, support::Entries("AM"), again));
        FUZZ_CHECK(again.accepted && state.params.SignalPeak == 37.5 && !again.waveform.lines.empty());
        Readouts(state, cursors);
    }
    return 0;
}
