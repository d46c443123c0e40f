#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace trelvano::reference {

// The transform evaluated directly, with no FFT: every term evaluated
// on its own, so that the fast path can be held against it.
struct DirectSpectrum {
    std::vector<double> SpecRe;    // N + 2 elements, as the buffers
    std::vector<double> SpecIm;
    std::vector<double> Spectrum;
};

// `signal` holds Signal[0..N+1]; N >= 0. Bins 0..LastBin with their mirror
// written to N - k in increasing k, then the magnitudes, term by term with the
// 15-digit 2π and the partial sums stored after every step.
DirectSpectrum ComputeDirectSpectrum(std::span<const double> signal, std::int32_t n, double w);

}  // namespace trelvano::reference
