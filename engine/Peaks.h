#pragma once

#include "AnalysisState.h"

namespace trelvano {

// SignalPeak = largest |Signal[i]|, i = 0..N. Raises IndexOutOfRange when
// Signal[0] does not exist (no run yet, or a negative N).
void FindSignalPeak(AnalysisState& state);

// SpectrumPeak = largest |Spectrum[k]|, k = 0..N-1 (bin 0 included).
void FindSpectrumPeak(AnalysisState& state);

}  // namespace trelvano
