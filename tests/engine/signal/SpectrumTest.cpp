#include "engine/AllocateSampleBuffers.h"
#include "engine/signal/Spectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "tests/support/Entries.h"

namespace trelvano {
namespace {

using support::DefaultState;

// The spectrum with no FFT, as the user reads it: every term on its own with the 15-digit 2π, summed in
// sample order, up to the last bin, N/2 with ties to even; nothing above it.
std::vector<double> ComputeDirectSpectrum(std::span<const double> signal, std::int32_t n, double w)
{
    std::vector<double> spectrum(signal.size());
    for (std::int32_t k = 0; k <= static_cast<std::int32_t>(std::nearbyint(n / 2.0)); ++k) {
        double re = 0, im = 0;
        for (std::int32_t i = 0; i <= n - 1; ++i) {
            const double theta = k * TwoPi15 * i / n;
            re = (w / n) * signal[i] * std::cos(theta) + re;
            im = im - (w / n) * signal[i] * std::sin(theta);
        }
        spectrum[k] = 2.0 / w * std::sqrt(std::pow(im, 2) + std::pow(re, 2));
    }
    return spectrum;
}

// The reference's 15-digit 2π is not the FFT's: below 6.2e-12 V on ±25 V random samples up to N = 10007.
constexpr double kTolerance = 1e-11;  // V

TEST(Spectrum, MatchesTheDirectTransform)
{
    std::vector<std::int32_t> sizes = {0, 1, 2, 3, 4, 5, 7, 8, 1000, 1001, 1003, 10007};
    std::mt19937 generator(20240611u);
    std::uniform_int_distribution<std::int32_t> randomSize(1, 3000);
    std::uniform_real_distribution<double> volts(-25.0, 25.0);
    for (int i = 0; i < 10; ++i) sizes.push_back(randomSize(generator));
    for (const std::int32_t n : sizes) {
        SCOPED_TRACE(n);
        AnalysisState state = DefaultState(n);
        AllocateSampleBuffers(state);
        for (std::int32_t i = 0; i < n; ++i) state.buffers.Signal.at(i) = volts(generator);
        ComputeSpectrum(state);
        const std::vector<double> spectrum = ComputeDirectSpectrum(state.buffers.Signal.all(), n, state.params.W);
        for (std::int32_t k = 0; k < n + 2; ++k)
            ASSERT_NEAR(state.buffers.Spectrum.at(k), spectrum[k], kTolerance) << k;
    }
}

TEST(Spectrum, DefaultAmHasThreeLinesAndNothingAboveTheLastBin)
{
    AnalysisState state = DefaultState();
    support::Synthesise(state, "AM", true);
    for (std::int32_t k = 0; k <= 1001; ++k) {
        const double line = k == 60 ? 25.0 : (k == 54 || k == 66) ? 6.25 : 0.0;
        EXPECT_NEAR(state.buffers.Spectrum.at(k), line, k <= 500 ? kTolerance : 0.0) << "bin " << k;
    }
}

TEST(Spectrum, FmLinesAreBesselFunctions)
{
    AnalysisState state = DefaultState();
    support::Synthesise(state, "FM", true);
    for (int n = 0; n <= 8; ++n) {
#if defined(__cpp_lib_math_special_functions)
        const double line = 25.0 * std::abs(std::cyl_bessel_j(double(n), 4.05));
#else
        const double line = 25.0 * std::abs(::jn(n, 4.05));  // libc++ has no special functions; POSIX has jn
#endif
        EXPECT_NEAR(state.buffers.Spectrum.at(60 + 6 * n), line, 10 * kTolerance) << "sideband " << n;
    }
}

TEST(Spectrum, MinusOneSampleIsAnIndexFault)
{
    AnalysisState state = DefaultState(-1);
    AllocateSampleBuffers(state);
    EXPECT_EQ(support::FaultOf([&] { ComputeSpectrum(state); }), FaultKind::IndexOutOfRange);
}

}  // namespace
}  // namespace trelvano
