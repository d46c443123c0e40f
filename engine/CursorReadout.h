#pragma once

#include <string>
#include <string_view>

#include "engine/state/AnalysisState.h"
#include "plot/Canvas.h"
#include "plot/PlotPoint.h"

namespace trelvano {

// The user coordinates of the pointer at (px, py) pixels from the top-left
// corner of a plot `pixels` in size: the position a readout takes. A plot
// with no width or no height has no inside: its top-left corner is given.
plot::PlotPoint PointerToPlot(double px, double py, plot::PixelSize pixels,
                              const plot::PlotCorners& corners = plot::kPlotCorners);

// A pointer's position comes in single precision, as PointerToPlot gives it;
// a keyboard cursor standing on a drawn point hands its exact coordinates.

// Tooltip text for the cursor at (x, y) in waveform-plot coordinates:
// "t= <0.00> msec ; V(t) = <0.00E+00> V". Recomputes SignalPeak over the
// buffers, never past their end. Never raises: a time that cannot be formed
// (Kt = 0) shows as "n.d.".
std::string WaveformReadout(AnalysisState& state, double x, double y, std::string_view decimalSeparator);

// Tooltip text for the cursor at (x, y) in spectrum-plot coordinates:
// "f= <0.00> Hz ; S(f) = <0.00E+00> V". Recomputes SpectrumPeak and stores
// CursorFreq and CursorLevel. Never raises: a frequency that cannot be formed
// (W = 0, FreqScale = 0) shows as "n.d.".
std::string SpectrumReadout(AnalysisState& state, double x, double y, std::string_view decimalSeparator);

// The same, on the SpectrumPeak the last readout found, for readouts in a row
// over buffers nothing has changed since: each would scan them to find it again.
std::string SpectrumReadoutOnPeak(AnalysisParameters& params, double x, double y, std::string_view decimalSeparator);

}  // namespace trelvano
