#pragma once

#include <cstdint>

#include "engine/state/AnalysisState.h"
#include "plot/Canvas.h"

namespace trelvano {

// What a completed run drew its plots from, beside the buffers it left: a
// rejected press changes the parameters but not the plots, so a plot drawn
// again at another size takes these rather than the parameters in force.
struct DrawnRun {
    std::int32_t n = 0;
    double kt = 0.0;
    double signalPeak = 0.0;
    double freqScale = 0.0;
    double spectrumPeak = 0.0;
    std::int32_t lastBin = 0;
};

DrawnRun DrawnFrom(const AnalysisParameters& params);

// The trace of Signal[0..n] and the zero level over it.
void DrawWaveformPlot(plot::Canvas& canvas, AnalysisState& state, const DrawnRun& run);
// The spectrum's lines, bins 1..lastBin.
void DrawSpectrumPlot(plot::Canvas& canvas, const AnalysisState& state, const DrawnRun& run);

}  // namespace trelvano
