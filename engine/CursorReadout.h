#pragma once

#include <string>
#include <string_view>

#include "engine/state/AnalysisState.h"
#include "plot/Canvas.h"
#include "plot/PlotPoint.h"

namespace trelvano {

// The user coordinates a plot's Scale sets: (x1, y1) at the top-left corner of
// its image, (x2, y2) at the bottom-right one.
struct PlotCorners {
    double x1 = 0.0;
    double y1 = 100.0;
    double x2 = 100.0;
    double y2 = 0.0;
};

// The plot coordinates every run and the waveform readout set.
inline constexpr PlotCorners kPlotCorners{};

// The user coordinates of the pointer at (px, py) pixels from the top-left
// corner of a plot `pixels` in size: the position a readout takes. A plot
// with no width or no height has no inside: its top-left corner is given.
plot::PlotPoint PointerToPlot(double px, double py, plot::PixelSize pixels, const PlotCorners& corners = kPlotCorners);

// Tooltip text for the cursor at (x, y) in waveform-plot coordinates:
// "t= <0.00> msec ; V(t) = <0.00E+00> V". Recomputes SignalPeak over the
// buffers, never past their end. Never raises: a time that cannot be formed
// (Kt = 0) shows as "n.d.".
std::string WaveformReadout(AnalysisState& state, float x, float y, std::string_view decimalSeparator);

// Tooltip text for the cursor at (x, y) in spectrum-plot coordinates:
// "f= <0.00> Hz ; S(f) = <0.00E+00> V". Recomputes SpectrumPeak and stores
// CursorFreq and CursorLevel. Never raises: a frequency that cannot be formed
// (W = 0, FreqScale = 0) shows as "n.d.".
std::string SpectrumReadout(AnalysisState& state, float x, float y, std::string_view decimalSeparator);

}  // namespace trelvano
