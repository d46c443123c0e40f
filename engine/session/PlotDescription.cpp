#include "engine/session/PlotDescription.h"

#include "engine/CursorReadout.h"
#include "engine/session/PlotCursor.h"

namespace trelvano {

namespace {

constexpr const char* kWaveformLead = "Forma d'onda, primo picco: ";
constexpr const char* kSpectrumLead = "Spettro, righe visibili: ";
constexpr const char* kNoLine = "nessuna";

}  // namespace

std::string DescribePlot(ResultWindow& window, AnalysisState& state, std::string_view decimalSeparator)
{
    if (&window.form() == &kForm2) {
        const std::optional<CursorPlace> peak = FirstPeakSample(window, state);
        if (!peak) return {};
        return kWaveformLead + WaveformReadout(state, peak->x, peak->y, decimalSeparator);
    }
    if (!window.drawn) return {};
    // The spectrum readout keeps its last position in the state; describing is no move.
    const double freq = state.params.CursorFreq;
    const double level = state.params.CursorLevel;
    const std::vector<CursorPlace> lines = VisibleLines(window, state);
    std::string text = kSpectrumLead + (lines.empty() ? std::string(kNoLine) : std::to_string(lines.size()));
    // The first line's readout finds the peak; the others read on it.
    for (const CursorPlace& line : lines) {
        text += ". ";
        text += &line == &lines.front() ? SpectrumReadout(state, line.x, line.y, decimalSeparator)
                                        : SpectrumReadoutOnPeak(state.params, line.x, line.y, decimalSeparator);
    }
    state.params.CursorFreq = freq;
    state.params.CursorLevel = level;
    return text;
}

}  // namespace trelvano
