#pragma once

#include <cstdint>
#include <span>

#include "Canvas.h"

namespace trelvano::plot {

// The N segments joining samples 0..N of `signal` (which holds at least N + 1
// values), in black. Nothing is drawn for N <= 0. A zero peak draws the trace on
// the zero level; non-finite or out-of-range coordinates are never handed on.
void DrawWaveformTrace(Canvas& canvas, std::span<const double> signal, std::int32_t n, double kt, double signalPeak);

// One red vertical line from the bottom up to each bin 1..lastBin of `spectrum`
// (which holds at least lastBin + 1 values). A zero peak draws height 0.
void DrawSpectrumLines(Canvas& canvas, std::span<const double> spectrum, std::int32_t n, double freqScale,
                       double spectrumPeak, std::int32_t lastBin);

// The zero level across the full width, (0, 50)-(100, 50), in black.
void DrawZeroAxis(Canvas& canvas);

}  // namespace trelvano::plot
