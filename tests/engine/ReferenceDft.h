#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "engine/Spectrum.h"
#include "engine/Synthesis.h"

namespace trelvano::reference {

struct DirectSpectrum {
    std::vector<double> SpecRe;  // N + 2 elements, as the buffers
    std::vector<double> SpecIm;
    std::vector<double> Spectrum;
};

// The transform with no FFT: every term on its own with the 15-digit 2π, the
// partial sums stored after each step, each bin's mirror written to N - k in
// increasing k. `signal` holds Signal[0..N+1]; N >= 0.
inline DirectSpectrum ComputeDirectSpectrum(std::span<const double> signal, std::int32_t n, double w)
{
    if (n < 0 || signal.size() != static_cast<std::size_t>(n) + 2) {
        throw std::invalid_argument("the direct spectrum needs N >= 0 and N + 2 samples");
    }
    const auto count = static_cast<std::size_t>(n) + 2;
    DirectSpectrum out{std::vector<double>(count, 0.0), std::vector<double>(count, 0.0),
                       std::vector<double>(count, 0.0)};
    std::vector<double>& SpecRe = out.SpecRe;
    std::vector<double>& SpecIm = out.SpecIm;
    constexpr double C = TwoPi15;

    const std::int32_t lastBin = LastBinFor(n);
    for (std::int32_t k = 0; k <= lastBin; ++k) {
        SpecRe[k] = 0;
        SpecIm[k] = 0;
        for (std::int32_t i = 0; i <= n - 1; ++i) {
            double theta = k * C * i / n;
            SpecRe[k] = (w / n) * signal[i] * std::cos(theta) + SpecRe[k];
            theta = k * C * i / n;
            SpecIm[k] = SpecIm[k] - (w / n) * signal[i] * std::sin(theta);
        }
        const std::int32_t m = n - k;
        SpecRe[m] = SpecRe[k];
        SpecIm[m] = -SpecIm[k];
    }
    for (std::int32_t k = 0; k <= lastBin; ++k) {
        out.Spectrum[k] = 2.0 / w * std::sqrt(std::pow(SpecIm[k], 2) + std::pow(SpecRe[k], 2));
    }
    return out;
}

}  // namespace trelvano::reference
