// The waveforms, their spectrum and the peaks scanned in them.
#include "engine/signal/Peaks.h"
#include "engine/signal/Spectrum.h"
#include "engine/signal/Synthesis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <span>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/AllocateSampleBuffers.h"
#include "engine/core/WorkerPool.h"
#include "engine/signal/VectorCosine.h"
#include "tests/support/Entries.h"

namespace trelvano {
namespace {

using support::DefaultState;

// One sample at a time, the reference for the waveforms and for where the run stops: each value is checked
// after it is formed, and a sample's AM value is stored before its angle phase is formed. With the same
// cosines taken one at a time, every phase and sample formula must match to the bit; how far those cosines
// stray from the C library's is the cosine units' own test.
struct Stored {
    std::vector<double> am, angle;
    std::optional<std::int32_t> stop;
};

Stored SynthesiseOneByOne(const AnalysisParameters& p)
{
    const auto cos = [](double x) {
        double y;
        Cosines({&x, 1}, {&y, 1});
        return y;
    };
    Stored s{std::vector<double>(p.N + 2), std::vector<double>(p.N + 2), std::nullopt};
    const auto finite = [](std::initializer_list<double> values) {
        return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
    };
    const double C = TwoPi15, spacing = p.W / p.N;
    for (std::int32_t i = 0; i < p.N && !s.stop; ++i) {
        const double x = i, tonePhase = ((x * C) * p.fm) * spacing, carrierPhase = ((p.fp * C) * x) * spacing;
        if (!finite({tonePhase, carrierPhase})) s.stop = i;
        if (s.stop) break;
        const double tone = cos(tonePhase), anglePhase = ((x * C) * p.fp) * spacing + p.mf * tone;
        s.am[i] = ((p.mAM * tone + 1.0) * p.Vp) * cos(carrierPhase);
        if (!finite({s.am[i], anglePhase})) s.stop = i;
        if (s.stop) break;
        s.angle[i] = p.Vp * cos(anglePhase);
        if (!finite({s.angle[i]})) s.stop = i;
    }
    return s;
}

// Every row on one thread and on three (parts handed out unevenly over two cores): the same samples to the
// bit, and a fault at the same sample with the same samples stored before it and none after.
TEST(Synthesis, BlocksOfVectorCosinesOnAnyThreadsMatchOneSampleAtATimeAndStopAlike)
{
    const std::tuple<const char*, std::int32_t, std::function<void(AnalysisParameters&)>> rows[] = {
        {"OneSample", 1, [](AnalysisParameters&) {}},
        {"BlockAndTail", 263, [](AnalysisParameters&) {}},
        {"Defaults", 1000, [](AnalysisParameters&) {}},
        {"LongWindowInParts", 200003, [](AnalysisParameters& p) { p.W = 0.2; }},
        {"EnvelopeCrossesZero", 1000, [](AnalysisParameters& p) { p.mAM = 3.0; }},
        // (fp·2π)·i overflows at i = 3, inside the first block.
        {"PhaseOverflows", 16, [](AnalysisParameters& p) { p.fp = 1e307; }},
        // (1 - tone)·Vp overflows once the tone falls below -0.8: AmWave holds it, AngleWave not. At 1 kHz
        // that is first in the second part, then again in every later one.
        {"AmOverflowsInALaterPart", 200000,
         [](AnalysisParameters& p) { std::tie(p.Vp, p.mAM, p.fm) = std::tuple(1e308, -1.0, 1000.0); }},
        // The carrier phase alone is finite; with mf·tone added it overflows from sample 1.
        // No tone (fm = 0) keeps mf·tone exact: any rounding of it would be far more than 2π.
        {"AnglePhaseOverflows", 64,
         [](AnalysisParameters& p) { std::tie(p.fp, p.fm, p.mf) = std::tuple(1e300, 0.0, DBL_MAX); }},
    };
    for (const int threads : {1, 3}) {
        WorkerPool pool(threads);
        for (const auto& [name, n, edit] : rows) {
            SCOPED_TRACE(testing::Message() << name << " on " << threads << " threads");
            AnalysisState state = DefaultState(n);
            state.workers = &pool;
            edit(state.params);
            AllocateSampleBuffers(state);
            const Stored expected = SynthesiseOneByOne(state.params);
            const auto fault = support::FaultOf([&] { SynthesiseWaveforms(state); });
            EXPECT_EQ(fault, expected.stop ? std::optional(FaultKind::FloatingPoint) : std::nullopt);
            EXPECT_EQ(state.params.SampleIndex, expected.stop.value_or(n));
            for (std::int32_t i = 0; i < n + 2; ++i) {
                ASSERT_EQ(state.buffers.AmWave.at(i), expected.am[i]) << i;
                ASSERT_EQ(state.buffers.AngleWave.at(i), expected.angle[i]) << i;
            }
        }
    }
}

// MinGW's C library is no reference past |x| of about 700: its cosine strays beyond 2 ulp there (cos(1e300)
// comes out 0.204 instead of -0.575), so on Windows the far phases are left to this test on Linux.
#if defined(__MINGW32__)
constexpr double kFarthestTrustedPhase = 512.0;
#else
constexpr double kFarthestTrustedPhase = INFINITY;
#endif

// Each vector unit, not only the one this processor picks, against the C library: lengths around the vector
// widths (the padded tail, and one past the end untouched), phases far past a run's, values not finite, and
// the doubles nearest k pi/2 up to the largest phases a press reaches, where the cosine is 1e-8 or less and
// a reduction short of digits shows at once, and on either side of where the browser's unit stops reducing
// in one step (2^19 pi/2) and hands a phase to the C library (2^28).
TEST(Synthesis, EveryVectorCosineUnitAgreesWithTheCLibraryWithinTwoUlp)
{
    std::vector<double> phases = {1e6, 1e15, 1e300, -0.0, NAN, INFINITY, -INFINITY};
    phases.insert(phases.end(), {1572.3671231216915, 523598.25199952326, 823548.093786316, 823000.0, 824000.0,
                                 1570797.8975912235, 119999998.9254029, 268435454.5955386, 0x1p28});
    for (int i = 0; i < 4000; ++i) phases.push_back(std::ldexp(1.0 + i % 97 / 97.0, i % 60 - 20) * (i % 2 ? 1 : -1));
    const auto units = {CosineUnit::Avx2, CosineUnit::Avx512, CosineUnit::Simd128};
    if (std::none_of(units.begin(), units.end(), CosineUnitAvailable)) GTEST_SKIP() << "no vector cosine unit here";
    for (const CosineUnit unit : units) {
        if (!CosineUnitAvailable(unit)) continue;
        for (const std::size_t length : std::initializer_list<std::size_t>{0, 1, 3, 9, 15, phases.size()}) {
            std::vector<double> out(length + 1, 7.0);
            Cosines({phases.data(), length}, {out.data(), length}, unit);
            for (std::size_t i = 0; i < length; ++i) {
                if (std::isfinite(phases[i]) && std::fabs(phases[i]) > kFarthestTrustedPhase) continue;
                const double exact = std::cos(phases[i]), ulp = std::fabs(std::nextafter(exact, 2.0) - exact);
                ASSERT_TRUE(std::isfinite(exact) ? std::fabs(out[i] - exact) <= 2 * ulp : std::isnan(out[i]))
                    << phases[i];
            }
            EXPECT_EQ(out[length], 7.0) << length;
        }
    }
}

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
    AnalysisState minusOne = DefaultState(-1);  // no bin 0 to hold
    AllocateSampleBuffers(minusOne);
    EXPECT_EQ(support::FaultOf([&] { ComputeSpectrum(minusOne); }), FaultKind::IndexOutOfRange);
    // A magnitude past a double stops the spectrum at its bin, the carrier's: from there up every bin reads
    // 0.0, not the transform's own data left in the same storage.
    AnalysisState huge = DefaultState();
    AllocateSampleBuffers(huge);
    for (std::int32_t i = 0; i < 1000; ++i) huge.buffers.Signal.at(i) = 1e160 * std::cos(TwoPi15 * 60 * i / 1000);
    EXPECT_EQ(support::FaultOf([&] { ComputeSpectrum(huge); }), FaultKind::FloatingPoint);
    const auto bins = huge.buffers.Spectrum.all();
    EXPECT_EQ(huge.params.BinIndex, 60);
    EXPECT_TRUE(std::all_of(bins.begin() + 60, bins.end(), [](double v) { return v == 0.0; }));
}

// The default AM's three lines and nothing above the last bin; the default FM's sidebands, Bessel functions.
TEST(Spectrum, DefaultAmHasThreeLinesAndFmLinesAreBesselFunctions)
{
    AnalysisState am = DefaultState(), fm = DefaultState();
    support::Synthesise(am, "AM", true);
    support::Synthesise(fm, "FM", true);
    for (std::int32_t k = 0; k <= 1001; ++k) {
        const double line = k == 60 ? 25.0 : (k == 54 || k == 66) ? 6.25 : 0.0;
        EXPECT_NEAR(am.buffers.Spectrum.at(k), line, k <= 500 ? kTolerance : 0.0) << "bin " << k;
    }
    for (int n = 0; n <= 8; ++n) {
#if defined(__cpp_lib_math_special_functions)
        const double line = 25.0 * std::abs(std::cyl_bessel_j(double(n), 4.05));
#else
        const double line = 25.0 * std::abs(::jn(n, 4.05));  // libc++ has no special functions; POSIX has jn
#endif
        EXPECT_NEAR(fm.buffers.Spectrum.at(60 + 6 * n), line, 10 * kTolerance) << "sideband " << n;
    }
}

// Signal is scanned over 0..N, Spectrum over 0..N-1, both clamped to the array; the vector scan takes two
// pairs at a time, so the largest sits in every position of a block and in the tail. Whether the scan
// gathered during a run leaves the same is the run's test.
TEST(Peaks, LargestMagnitudeOfTheScannedRange)
{
    const std::tuple<const char*, bool, std::vector<double>, int, double> rows[] = {
        {"NegativeSampleCounts", false, {-3, 2, 0}, 2, 3},
        {"ClampedSignalScan", false, {1, -6, 2, 0}, 100, 6},
        {"BinZeroCounts", true, {9, 1, 2, 0, 0}, 3, 9},
        {"ClampedSpectrumScan", true, {1, -3, 2}, 50, 3},
        {"LargestInALaterBlock", false, {1, 2, 3, 4, 5, 6, -11, 8, 9}, 8, 11},
        {"LargestInTheTail", true, {1, 2, 3, 4, 5, 6, 7, 8, -12, 0}, 10, 12},
        {"BeyondNIgnored", false, {1, 2, 3, 4, 5, 6, 7, 8, 50, 0}, 7, 8},
    };
    for (const auto& [name, spectrum, values, n, peak] : rows) {
        AnalysisState state;
        CheckedArray& array = spectrum ? state.buffers.Spectrum : state.buffers.Signal;
        array.recreate(static_cast<std::int64_t>(values.size()));  // every element is written next
        std::copy(values.begin(), values.end(), array.range(0, array.size() - 1).begin());
        state.params.N = n;
        spectrum ? FindSpectrumPeak(state) : FindSignalPeak(state);
        EXPECT_EQ(spectrum ? state.params.SpectrumPeak : state.params.SignalPeak, peak) << name;
    }
    // A value that is not finite ends the scan with the peak up to it, as a one-by-one scan leaves it; in a
    // buffer scanned in parts on three threads, the largest and the faults sit in later parts.
    WorkerPool pool(3);
    const std::tuple<int, std::vector<std::pair<int, double>>, double, int> scans[] = {
        {10, {{6, INFINITY}}, 5, 6},
        {300000, {{250001, -1e6}}, 1e6, 300000},
        {1200000, {{1000001, -1e6}, {1080000, NAN}, {1085000, 2e6}, {1190000, INFINITY}}, 1e6, 1080000},
    };
    for (const auto& [size, placed, peak, stop] : scans) {
        AnalysisState bad;
        bad.workers = &pool;
        bad.buffers.Signal.recreate(size);  // every element is written next
        for (int i = 0; i < size; ++i) bad.buffers.Signal.at(i) = i % 1000;
        for (const auto& [i, v] : placed) bad.buffers.Signal.at(i) = v;
        bad.params.N = size - 1;
        const bool finite = stop == size;
        EXPECT_EQ(support::FaultOf([&] { FindSignalPeak(bad); }),
                  finite ? std::nullopt : std::optional(FaultKind::FloatingPoint));
        EXPECT_TRUE(bad.params.SignalPeak == peak && bad.params.SampleIndex == stop) << size;
    }
    AnalysisState empty;
    empty.params.N = 10;
    EXPECT_EQ(support::FaultOf([&] { FindSignalPeak(empty); }), FaultKind::IndexOutOfRange);
    EXPECT_EQ(support::FaultOf([&] { FindSpectrumPeak(empty); }), FaultKind::IndexOutOfRange);
}

}  // namespace
}  // namespace trelvano
