#include "engine/CursorReadout.h"

#include <limits>

#include "engine/entries/NumberFormat.h"
#include "engine/signal/Peaks.h"
#include "engine/signal/VectorState.h"
#include "plot/PlotMapping.h"

namespace trelvano {

// Before the first run, or after a run that failed before its buffers were
// filled, there is nothing to scan: the level scale is then 0 and the readout
// still answers instead of failing under the user's mouse.
//
// A readout runs right after the toolkit has drawn its tooltip, which leaves
// the vector unit's upper state dirty: its peak scan measured four times
// slower without clearing it first.

plot::PlotPoint PointerToPlot(double px, double py, plot::PixelSize pixels, const plot::PlotCorners& corners)
{
    // Each axis stretched over the image; a readout takes single precision, as the toolkit handed it.
    const double x = pixels.width > 0 ? corners.x1 + px * (corners.x2 - corners.x1) / pixels.width : corners.x1;
    const double y = pixels.height > 0 ? corners.y1 + py * (corners.y2 - corners.y1) / pixels.height : corners.y1;
    return {static_cast<float>(x), static_cast<float>(y)};
}

std::string WaveformReadout(AnalysisState& state, double x, double y, std::string_view decimalSeparator)
{
    ClearUpperVectorState();
    AnalysisParameters& p = state.params;
    const double timeMs = plot::TimeMsAtX(x, p.W, p.Kt);

    if (state.buffers.Signal.empty()) {
        p.SignalPeak = 0.0;
    } else {
        FindSignalPeak(state);
    }
    const double volts = plot::ValueAtY(y, p.SignalPeak);

    std::string text = "t= ";
    text += FormatFixed2(timeMs, decimalSeparator);
    text += " msec";
    text += " ; ";
    text += "V(t) = ";
    text += FormatScientific2(volts, decimalSeparator);
    text += " V";
    return text;
}

std::string SpectrumReadout(AnalysisState& state, double x, double y, std::string_view decimalSeparator)
{
    ClearUpperVectorState();
    AnalysisParameters& p = state.params;
    p.CursorFreq = plot::FrequencyAtX(x, p.N, p.W, p.FreqScale);

    if (state.buffers.Spectrum.empty()) {
        p.SpectrumPeak = 0.0;
    } else if (p.N == std::numeric_limits<std::int32_t>::min()) {
        // A rejected press can leave this N behind; N - 1 has no 32-bit value,
        // and no bin would be scanned anyway: the peak is bin 0 as stored.
        p.SpectrumPeak = state.buffers.Spectrum.at(0);
    } else {
        FindSpectrumPeak(state);
    }
    return SpectrumReadoutOnPeak(p, x, y, decimalSeparator);
}

std::string SpectrumReadoutOnPeak(AnalysisParameters& p, double x, double y, std::string_view decimalSeparator)
{
    p.CursorFreq = plot::FrequencyAtX(x, p.N, p.W, p.FreqScale);
    p.CursorLevel = plot::LevelAtY(y, p.SpectrumPeak);

    std::string text = "f= ";
    text += FormatFixed2(p.CursorFreq, decimalSeparator);
    text += " Hz";
    text += " ; ";
    text += "S(f) = ";
    text += FormatScientific2(p.CursorLevel, decimalSeparator);
    text += " V";
    return text;
}

}  // namespace trelvano
