#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <map>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "engine/Spectrum.h"
#include "ReferenceDft.h"
#include "SampleStates.h"

namespace trelvano {
namespace {

using enginetest::DefaultParameters;
using enginetest::RunToSpectrum;

// The direct evaluation forms its phases with the 15-digit 2π, which the FFT
// does not share. The phase error grows with k·i/N and adds up over the N
// terms like a random walk, so the agreement loosens with √N. Measured with
// ±25 V random samples: at most 6.2e-12 V on Spectrum for every size up to
// 10007; on the real and imaginary parts (in volts, times 2/W) 4.8e-12 V up to
// N = 2000 and 1.5e-11 V at N = 10007, so their bound grows as √(N/1000).
constexpr double kSpectrumTolerance = 1e-11;  // V

double PartsTolerance(std::int32_t n)  // V, on (2/W)·SpecRe and (2/W)·SpecIm
{
    return 1e-11 * std::max(1.0, std::sqrt(n / 1000.0));
}

enum class Source { Random, DefaultAm, DefaultFm };

void CompareWithDirect(std::int32_t n, Source source, std::uint32_t seed)
{
    AnalysisState state;
    state.params = DefaultParameters();
    state.params.N = n;
    switch (source) {
    case Source::Random: enginetest::FillRandomSignal(state, n, seed, 25.0); break;
    case Source::DefaultAm: enginetest::SynthesiseAndSelect(state, "AM"); break;
    case Source::DefaultFm: enginetest::SynthesiseAndSelect(state, "FM"); break;
    }
    ComputeSpectrum(state);
    const reference::DirectSpectrum direct =
        reference::ComputeDirectSpectrum(state.buffers.Signal.all(), n, state.params.W);

    const double toVolts = 2.0 / state.params.W;
    const double partsTolerance = PartsTolerance(n);
    const SampleBuffers& b = state.buffers;
    ASSERT_EQ(b.Spectrum.size(), static_cast<std::int64_t>(direct.Spectrum.size()));
    for (std::int32_t k = 0; k < n + 2; ++k) {
        ASSERT_NEAR(b.Spectrum.at(k), direct.Spectrum[k], kSpectrumTolerance) << "N " << n << " bin " << k;
        ASSERT_NEAR(b.SpecRe.at(k) * toVolts, direct.SpecRe[k] * toVolts, partsTolerance) << "N " << n << " re " << k;
        ASSERT_NEAR(b.SpecIm.at(k) * toVolts, direct.SpecIm[k] * toVolts, partsTolerance) << "N " << n << " im " << k;
    }
}

struct SizeRow {
    const char* name;
    std::int32_t n;
};

class AgainstDirectTransform : public ::testing::TestWithParam<SizeRow> {};

TEST_P(AgainstDirectTransform, RandomSamples)
{
    CompareWithDirect(GetParam().n, Source::Random, 1234u + static_cast<std::uint32_t>(GetParam().n));
}

TEST_P(AgainstDirectTransform, DefaultAm)
{
    CompareWithDirect(GetParam().n, Source::DefaultAm, 0);
}

TEST_P(AgainstDirectTransform, DefaultFm)
{
    CompareWithDirect(GetParam().n, Source::DefaultFm, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Spectrum, AgainstDirectTransform,
    ::testing::Values(SizeRow{"none", 0}, SizeRow{"one", 1}, SizeRow{"two", 2}, SizeRow{"three", 3},
                      SizeRow{"four", 4}, SizeRow{"five", 5}, SizeRow{"seven", 7}, SizeRow{"eight", 8},
                      SizeRow{"thousand", 1000}, SizeRow{"thousand_and_one", 1001},
                      SizeRow{"thousand_and_three", 1003}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpectrumAgainstDirectTransform, LargePrimeSize)
{
    // Prime sizes take FFTW's slowest path (Rader's algorithm).
    CompareWithDirect(10007, Source::Random, 99u);
}

TEST(SpectrumAgainstDirectTransform, SeededRandomSizes)
{
    std::mt19937 generator(20240611u);
    std::uniform_int_distribution<std::int32_t> size(1, 3000);
    for (int round = 0; round < 10; ++round) {
        const std::int32_t n = size(generator);
        SCOPED_TRACE("N = " + std::to_string(n));
        CompareWithDirect(n, Source::Random, generator());
    }
}

// Line heights of Vp·cos(2π fp t + mf·cos(2π fm t)) = Vp·Σ J_n(mf)·cos(2π (fp + n fm) t + nπ/2):
// sideband n lies on bin carrierBin + n·toneBin; one below zero folds onto its
// absolute value with its phase mirrored, and adds to what is there.
std::map<std::int32_t, double> AngleModulationLines(double vp, double mf, std::int32_t carrierBin,
                                                    std::int32_t toneBin)
{
    std::map<std::int32_t, std::complex<double>> phasors;
    for (int n = -60; n <= 60; ++n) {
        const double bessel = std::cyl_bessel_j(static_cast<double>(std::abs(n)), mf);
        const double jn = (n < 0 && n % 2 != 0) ? -bessel : bessel;  // J_{-n} = (-1)^n J_n
        std::int32_t bin = carrierBin + n * toneBin;
        double phase = n * std::numbers::pi / 2;
        if (bin < 0) {
            bin = -bin;
            phase = -phase;
        }
        // A constant A·cos φ is 2·|A cos φ| on bin 0, which is scaled like the lines.
        phasors[bin] += bin == 0 ? std::complex<double>(2 * vp * jn * std::cos(phase), 0.0)
                                 : std::polar(vp * jn, phase);
    }
    std::map<std::int32_t, double> lines;
    for (const auto& [bin, phasor] : phasors) lines[bin] = std::abs(phasor);
    return lines;
}

TEST(SpectrumKnownAnswers, DefaultAmHasThreeLines)
{
    AnalysisState state;
    state.params = DefaultParameters();
    RunToSpectrum(state, "AM");
    const std::map<std::int32_t, double> lines = {{54, 6.25}, {60, 25.0}, {66, 6.25}};
    for (std::int32_t k = 0; k <= 500; ++k) {
        const auto line = lines.find(k);
        EXPECT_NEAR(state.buffers.Spectrum.at(k), line == lines.end() ? 0.0 : line->second, kSpectrumTolerance)
            << "bin " << k;
    }
}

TEST(SpectrumKnownAnswers, FmLinesAreBesselFunctions)
{
    AnalysisState state;
    state.params = DefaultParameters();
    RunToSpectrum(state, "FM");
    const std::map<std::int32_t, double> lines = AngleModulationLines(25.0, 4.05, 60, 6);
    for (std::int32_t k = 0; k <= 500; ++k) {
        const auto line = lines.find(k);
        EXPECT_NEAR(state.buffers.Spectrum.at(k), line == lines.end() ? 0.0 : line->second, kSpectrumTolerance)
            << "bin " << k;
    }
    // The heights usually quoted, 25·|J_n(4.05)|. Below the carrier the
    // sidebands n = -16 to -20 fold back onto bins 36 to 60 (up to 1e-7 V on
    // bin 36), well inside the quoted digits; above it, only the far weaker
    // n <= -21 could land, so there the plain Bessel value holds to 1e-11 V.
    const double quoted[] = {9.834, 2.122, 8.787, 10.800, 7.213};
    for (int n = 0; n <= 4; ++n) {
        EXPECT_NEAR(state.buffers.Spectrum.at(60 + 6 * n), quoted[n], 5e-4) << "sideband +" << n;
        EXPECT_NEAR(state.buffers.Spectrum.at(60 - 6 * n), quoted[n], 5e-4) << "sideband -" << n;
        if (n > 0) {
            EXPECT_NEAR(state.buffers.Spectrum.at(60 + 6 * n), 25.0 * std::abs(std::cyl_bessel_j(double(n), 4.05)),
                        kSpectrumTolerance);
        }
    }
}

TEST(SpectrumKnownAnswers, PmSpectrumIsTheFmSpectrum)
{
    AnalysisState fm;
    AnalysisState pm;
    fm.params = DefaultParameters();
    pm.params = DefaultParameters();
    RunToSpectrum(fm, "FM");
    RunToSpectrum(pm, "PM");
    for (std::int32_t k = 0; k <= 1001; ++k) ASSERT_EQ(fm.buffers.Spectrum.at(k), pm.buffers.Spectrum.at(k)) << k;
}

TEST(SpectrumKnownAnswers, CarrierVanishesAtTheFirstBesselZero)
{
    AnalysisState state;
    state.params = DefaultParameters();
    state.params.mf = 2.404825557695773;
    RunToSpectrum(state, "FM");
    EXPECT_LT(state.buffers.Spectrum.at(60), kSpectrumTolerance);
    EXPECT_NEAR(state.buffers.Spectrum.at(54), 25.0 * std::cyl_bessel_j(1.0, state.params.mf), kSpectrumTolerance);
    EXPECT_NEAR(state.buffers.Spectrum.at(66), 25.0 * std::cyl_bessel_j(1.0, state.params.mf), kSpectrumTolerance);
}

}  // namespace
}  // namespace trelvano
