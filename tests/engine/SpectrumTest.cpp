#include "engine/Spectrum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "ReferenceDft.h"
#include "SampleStates.h"

namespace trelvano {
namespace {

using enginetest::DefaultState;
using enginetest::RunToSpectrum;

TEST(Spectrum, LastBinIsHalfOfNWithTiesToEven)
{
    const struct { std::int32_t n, lastBin; } rows[] = {{0, 0}, {1, 0},      {3, 2},      {5, 2},
                                                    {7, 4}, {1000, 500}, {1001, 500}, {1003, 502}};
    for (const auto& row : rows) EXPECT_EQ(LastBinFor(row.n), row.lastBin) << row.n;
}

// The direct evaluation's phases use the 15-digit 2π, which the FFT does not
// share; the error adds up over the N terms like a random walk. Measured with
// ±25 V random samples: at most 6.2e-12 V on Spectrum up to N = 10007; on the
// parts (times 2/W, in volts) 4.8e-12 V up to N = 2000 and 1.5e-11 V at 10007.
constexpr double kTolerance = 1e-11;  // V

// Random samples in ±25 V.
void ExpectDirectTransform(std::int32_t n, std::uint32_t seed)
{
    AnalysisState state = DefaultState(n);
    AllocateSampleBuffers(state);
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> volts(-25.0, 25.0);
    for (std::int32_t i = 0; i < n; ++i) state.buffers.Signal.at(i) = volts(generator);
    ComputeSpectrum(state);
    const SampleBuffers& b = state.buffers;
    const auto direct = reference::ComputeDirectSpectrum(b.Signal.all(), n, state.params.W);
    const double toVolts = 2.0 / state.params.W;
    const double partsTolerance = kTolerance * std::max(1.0, std::sqrt(n / 1000.0));
    // The mirror fill exactly, in increasing k: for N = 4q + 3 the last one lands
    // on bin LastBin - 1 (N = 7: bin 3 = conj(bin 4)); for even N bin N/2 mirrors itself.
    for (std::int32_t k = 0; k <= LastBinFor(n); ++k) {
        ASSERT_EQ(b.SpecRe.at(n - k), b.SpecRe.at(k)) << "mirror of " << k;
        ASSERT_EQ(b.SpecIm.at(n - k), -b.SpecIm.at(k)) << "mirror of " << k;
    }
    for (std::int32_t k = 0; k < n + 2; ++k) {
        ASSERT_NEAR(b.Spectrum.at(k), direct.Spectrum[k], kTolerance) << "bin " << k;
        ASSERT_NEAR(b.SpecRe.at(k) * toVolts, direct.SpecRe[k] * toVolts, partsTolerance) << "re " << k;
        ASSERT_NEAR(b.SpecIm.at(k) * toVolts, direct.SpecIm[k] * toVolts, partsTolerance) << "im " << k;
    }
}

TEST(Spectrum, MatchesTheDirectTransform)
{
    std::vector<std::int32_t> sizes = {0, 1, 2, 3, 4, 5, 7, 8, 1000, 1001, 1003, 10007};
    std::mt19937 generator(20240611u);
    std::uniform_int_distribution<std::int32_t> randomSize(1, 3000);
    for (int i = 0; i < 10; ++i) sizes.push_back(randomSize(generator));
    for (const std::int32_t n : sizes) {
        SCOPED_TRACE(n);
        ExpectDirectTransform(n, generator());
    }
}

TEST(Spectrum, DefaultAmHasThreeLinesAndNothingAboveTheLastBin)
{
    AnalysisState state = DefaultState();
    RunToSpectrum(state, "AM");
    for (std::int32_t k = 0; k <= 1001; ++k) {
        const double line = k == 60 ? 25.0 : (k == 54 || k == 66) ? 6.25 : 0.0;
        EXPECT_NEAR(state.buffers.Spectrum.at(k), line, k <= 500 ? kTolerance : 0.0) << "bin " << k;
    }
}

TEST(Spectrum, FmLinesAreBesselFunctions)
{
    AnalysisState state = DefaultState();
    RunToSpectrum(state, "FM");
    const CheckedArray& spectrum = state.buffers.Spectrum;
    for (int n = 0; n <= 8; ++n) {
        const double line = 25.0 * std::abs(std::cyl_bessel_j(double(n), 4.05));
        EXPECT_NEAR(spectrum.at(60 + 6 * n), line, 10 * kTolerance) << "sideband +" << n;
        // Sideband n - 20 folds back onto bin 60 - 6n: up to 1e-7 V for n <= 4.
        if (n >= 1 && n <= 4) {
            EXPECT_NEAR(spectrum.at(60 - 6 * n), line, 1e-6) << "sideband -" << n;
        }
    }

    state.params.mf = 2.404825557695773;  // the first zero of J0
    RunToSpectrum(state, "FM");
    EXPECT_LT(spectrum.at(60), kTolerance);
}

TEST(Spectrum, MinusOneSampleMeetsTheMirrorIndexMinusOne)
{
    AnalysisState state = DefaultState(-1);
    AllocateSampleBuffers(state);
    EXPECT_EQ(enginetest::FaultOf([&] { ComputeSpectrum(state); }), FaultKind::IndexOutOfRange);
}

TEST(Spectrum, PlanIsReusedForARepeatedN)
{
    AnalysisState state = DefaultState();
    RunToSpectrum(state, "AM");
    state.fft.planFor(1000).input()[0] = 123.0;  // a fresh plan would not hold this
    AllocateSampleBuffers(state);                 // the next run, same N
    EXPECT_EQ(state.fft.planFor(1000).input()[0], 123.0);
}

}  // namespace
}  // namespace trelvano
