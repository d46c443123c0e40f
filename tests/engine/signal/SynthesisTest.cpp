#include "engine/AllocateSampleBuffers.h"
#include "engine/signal/Synthesis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <optional>
#include <tuple>
#include <vector>

#include "tests/support/Entries.h"
#include "engine/core/WorkerPool.h"
#include "engine/signal/VectorCosine.h"

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
// widths (the padded tail, and one past the end untouched), phases far past a run's, values not finite.
TEST(Synthesis, EveryVectorCosineUnitAgreesWithTheCLibraryWithinTwoUlp)
{
    std::vector<double> phases = {1e6, 1e15, 1e300, -0.0, NAN, INFINITY, -INFINITY};
    for (int i = 0; i < 4000; ++i) phases.push_back(std::ldexp(1.0 + i % 97 / 97.0, i % 60 - 20) * (i % 2 ? 1 : -1));
    const auto units = {CosineUnit::Avx2, CosineUnit::Avx512};
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

}  // namespace
}  // namespace trelvano
