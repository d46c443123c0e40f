#pragma once

#include <optional>
#include <vector>

#include "engine/session/ResultWindow.h"
#include "engine/state/AnalysisState.h"

namespace trelvano {

// What a keyboard user does to a plot's cursor: step to the previous or next
// place worth reading (a pixel column of the trace, a line of the spectrum),
// go to the first or last of them, or move freely one layout pixel.
enum class CursorKey { Previous, Next, First, Last, Left, Right, Up, Down };

// Where the key takes the waveform's or the spectrum's cursor from `from`
// (none: the key starts it). Faults on buffers shorter than the run drew.
CursorPlace MoveCursor(const ResultWindow& window, const AnalysisState& state, std::optional<CursorPlace> from,
                       CursorKey key);

// The point a pointer at layout pixel (px, py) reads.
CursorPlace PlaceAtPixel(const ResultWindow& window, double px, double py);

// The top of each spectrum line a sighted user sees, left to right: one per
// image column that holds a line's colour, on the tallest line drawn there.
std::vector<CursorPlace> VisibleLines(const ResultWindow& window, const AnalysisState& state);

// The first sample of the waveform that reaches the peak, on the trace; none
// on a blank plot.
std::optional<CursorPlace> FirstPeakSample(const ResultWindow& window, const AnalysisState& state);

}  // namespace trelvano
