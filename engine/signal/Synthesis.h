#pragma once

#include <functional>
#include <string_view>

#include "engine/state/AnalysisState.h"
#include "engine/signal/Peaks.h"

namespace trelvano {

// 2π as the phases of this program form it: the 15-digit constant, not the
// full-precision value. Synthesis and the reference transform share it.
inline constexpr double TwoPi15 = 6.28318530717958;

// Fills AmWave[0..N-1] and AngleWave[0..N-1]; sample N stays 0.0. The samples
// are shared out over the state's pool; `alongside`, when given, runs on the
// calling thread meanwhile. A value that is not finite stops it at the same
// sample, with the same samples stored before it, whatever the pool.
void SynthesiseWaveforms(AnalysisState& state, const std::function<void()>& alongside = nullptr);

// Copies AmWave ("AM") or AngleWave ("FM", "PM"), indices 0..N, into Signal.
// The comparison is exact and case-sensitive. A copy restarts `copied`, when
// given, and passes it every value stored. Shared out over the state's pool.
void SelectSignal(AnalysisState& state, std::string_view modulationText, PeakScan* copied = nullptr);

}  // namespace trelvano
