#pragma once

#include <cstdint>

#include "engine/state/AnalysisState.h"

namespace trelvano {
class PeakScan;
}

namespace trelvano {

// N / 2 rounded to a signed 32-bit integer, a tie going to the even neighbour.
std::int32_t LastBinFor(std::int32_t n);

// SpecRe/SpecIm for bins 0..LastBin, scaled by W/N, with their conjugate mirror
// written to N - k in increasing k; then Spectrum[k] = (2/W)·|X_k| for bins
// 0..LastBin. Computed with an FFT; elements above LastBin stay 0.0.
// `magnitudes`, when given, is passed every Spectrum value as it is stored.
void ComputeSpectrum(AnalysisState& state, PeakScan* magnitudes = nullptr);

// Makes the transform's plan for the buffers as they are, so that a following
// ComputeSpectrum goes straight to the transform: planning a large N costs a
// good part of a transform, and can be done while the samples are made. A
// plan that cannot be made now is left to ComputeSpectrum, which raises its
// fault at the point a press reaches it.
void PrepareSpectrum(AnalysisState& state) noexcept;

}  // namespace trelvano
