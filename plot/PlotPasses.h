#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "Canvas.h"

namespace trelvano::plot {

// Calls part(p) for p = 0..parts-1, on as many threads as it has, and returns
// when every call has.
using PartRunner = std::function<void(std::size_t parts, const std::function<void(std::size_t)>& part)>;

// The N segments joining samples 0..N of `signal` (which holds at least N + 1
// values), in black. Nothing is drawn for N <= 0. A zero peak draws the trace on
// the zero level; non-finite or out-of-range coordinates are never handed on.
// With `runParts`, a long trace is worked out in parts at once and drawn after,
// line for line as it would be in one piece.
void DrawWaveformTrace(Canvas& canvas, std::span<const double> signal, std::int32_t n, double kt, double signalPeak,
                       const PartRunner& runParts = nullptr);

// One red vertical line from the bottom up to each bin 1..lastBin of `spectrum`
// (which holds at least lastBin + 1 values). A zero peak draws height 0.
void DrawSpectrumLines(Canvas& canvas, std::span<const double> spectrum, std::int32_t n, double freqScale,
                       double spectrumPeak, std::int32_t lastBin);

// The zero level across the full width, (0, 50)-(100, 50), in black.
void DrawZeroAxis(Canvas& canvas);

}  // namespace trelvano::plot
