#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "engine/AnalysisState.h"
#include "engine/Synthesis.h"
#include "SampleStates.h"

namespace trelvano {
namespace {

using enginetest::DefaultParameters;
using enginetest::FaultOf;
using enginetest::SynthesiseAndSelect;

AnalysisState DefaultState(std::int32_t n = 1000)
{
    AnalysisState state;
    state.params = DefaultParameters();
    state.params.N = n;
    return state;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(Synthesis, FirstSamplesOfTheDefaultEntries)
{
    AnalysisState state = DefaultState();
    SynthesiseAndSelect(state, "AM");
    EXPECT_EQ(state.buffers.AmWave.at(0), 37.5);
    EXPECT_EQ(state.buffers.AngleWave.at(0), 25.0 * std::cos(4.05));
    EXPECT_NEAR(state.buffers.AngleWave.at(0), -15.375, 5e-4);
}

// The samples as the waveform formulas are written, four cosines
// each, every product in its written order: the synthesis must match them to
// the bit, whatever it shares between the two waveforms.
TEST(Synthesis, SamplesMatchTheWrittenFormulasBitForBit)
{
    for (const double mAM : {0.5, 2.0}) {
        AnalysisState state = DefaultState(1003);
        state.params.mAM = mAM;
        state.params.fm = 7000.0;
        SynthesiseAndSelect(state, "AM");
        const AnalysisParameters& p = state.params;
        const double C = 6.28318530717958;
        for (std::int32_t i = 0; i < p.N; ++i) {
            const double a = std::cos(i * C * p.fm * (p.W / p.N));
            const double b = std::cos(p.fp * C * i * (p.W / p.N));
            const double am = (p.mAM * a + 1) * p.Vp * b;
            const double c = std::cos(i * C * p.fm * (p.W / p.N));
            const double d = std::cos(i * C * p.fp * (p.W / p.N) + p.mf * c);
            ASSERT_TRUE(SameBits(state.buffers.AmWave.at(i), am)) << "AM sample " << i << " with mAM " << mAM;
            ASSERT_TRUE(SameBits(state.buffers.AngleWave.at(i), p.Vp * d)) << "angle sample " << i;
        }
    }
}

TEST(Synthesis, FmAndPmGiveTheSameSignalToTheBit)
{
    AnalysisState fm = DefaultState();
    AnalysisState pm = DefaultState();
    SynthesiseAndSelect(fm, "FM");
    SynthesiseAndSelect(pm, "PM");
    const auto a = fm.buffers.Signal.all();
    const auto b = pm.buffers.Signal.all();
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size_bytes()), 0);
    EXPECT_NE(fm.buffers.Signal.at(1), 0.0);
}

struct SelectRow {
    const char* name;
    const char* text;
    bool copiesAm;
    bool copiesAngle;
};

class Select : public ::testing::TestWithParam<SelectRow> {};

TEST_P(Select, CopiesTheChosenWaveformAndEndsOnZero)
{
    AnalysisState state = DefaultState(100);
    SynthesiseAndSelect(state, GetParam().text);
    const SampleBuffers& b = state.buffers;
    for (std::int32_t i = 0; i < 100; ++i) {
        const double expected = GetParam().copiesAm ? b.AmWave.at(i) : GetParam().copiesAngle ? b.AngleWave.at(i) : 0.0;
        ASSERT_TRUE(SameBits(b.Signal.at(i), expected)) << "sample " << i;
    }
    EXPECT_EQ(b.Signal.at(100), 0.0);
    EXPECT_EQ(b.Signal.at(101), 0.0);
    EXPECT_EQ(state.params.SampleIndex, GetParam().copiesAm || GetParam().copiesAngle ? 101 : 100);
}

INSTANTIATE_TEST_SUITE_P(Synthesis, Select,
                         ::testing::Values(SelectRow{"am", "AM", true, false}, SelectRow{"fm", "FM", false, true},
                                           SelectRow{"pm", "PM", false, true},
                                           SelectRow{"lower_case_selects_nothing", "am", false, false},
                                           SelectRow{"trailing_blank_selects_nothing", "FM ", false, false},
                                           SelectRow{"placeholder_selects_nothing", "Scegli la modulazione", false,
                                                     false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Synthesis, OneSampleIsTheInstantZero)
{
    AnalysisState state = DefaultState(1);
    SynthesiseAndSelect(state, "AM");
    EXPECT_EQ(state.buffers.Signal.at(0), 37.5);
    EXPECT_EQ(state.buffers.Signal.at(1), 0.0);
    EXPECT_EQ(state.buffers.Signal.at(2), 0.0);
    EXPECT_EQ(state.buffers.AmWave.at(1), 0.0);
}

TEST(Synthesis, NoSamplesLeaveEverythingZero)
{
    AnalysisState state = DefaultState(0);
    SynthesiseAndSelect(state, "FM");
    EXPECT_EQ(state.buffers.Signal.at(0), 0.0);
    EXPECT_EQ(state.buffers.AngleWave.at(0), 0.0);
    EXPECT_EQ(state.params.SampleIndex, 1);
}

TEST(Synthesis, NegativeSampleCountsDoNothing)
{
    for (const std::int32_t n : {-1, -2, std::numeric_limits<std::int32_t>::min() + 1}) {
        AnalysisState state = DefaultState(n);
        EXPECT_EQ(FaultOf([&] { SynthesiseAndSelect(state, "AM"); }), std::nullopt) << n;
        EXPECT_EQ(state.params.SampleIndex, 0) << n;
    }
    // Except the one whose last index N - 1 does not exist.
    AnalysisState state = DefaultState(std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(FaultOf([&] { SynthesiseWaveforms(state); }), FaultKind::Overflow);
}

TEST(Synthesis, BuffersTooSmallForNAreAnIndexFault)
{
    AnalysisState state = DefaultState(10);
    AllocateSampleBuffers(state);
    state.params.N = 20;
    EXPECT_EQ(FaultOf([&] { SynthesiseWaveforms(state); }), FaultKind::IndexOutOfRange);
}

struct NonFiniteRow {
    const char* name;
    void (*enter)(AnalysisParameters&);
    std::int32_t faultySample;
};

class NonFinite : public ::testing::TestWithParam<NonFiniteRow> {};

TEST_P(NonFinite, StopsAtTheFaultySample)
{
    AnalysisState state = DefaultState(16);
    GetParam().enter(state.params);
    AllocateSampleBuffers(state);
    EXPECT_EQ(FaultOf([&] { SynthesiseWaveforms(state); }), FaultKind::FloatingPoint);
    EXPECT_EQ(state.params.SampleIndex, GetParam().faultySample);
    for (std::int32_t i = 0; i < GetParam().faultySample; ++i) {
        EXPECT_TRUE(std::isfinite(state.buffers.AmWave.at(i)) && std::isfinite(state.buffers.AngleWave.at(i)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Synthesis, NonFinite,
    ::testing::Values(
        // (10·1 + 1)·1e308 overflows at the very first sample.
        NonFiniteRow{"am_amplitude_overflows", [](AnalysisParameters& p) {
                     p.Vp = 1e308;
                     p.mAM = 10;
                 }, 0},
        // fp·C is formed first: infinite, and times i = 0 not a number.
        NonFiniteRow{"carrier_constant_overflows", [](AnalysisParameters& p) { p.fp = 1e308; }, 0},
        // (fp·C)·i stays finite up to i = 2 and overflows at i = 3.
        NonFiniteRow{"carrier_phase_overflows_later", [](AnalysisParameters& p) { p.fp = 1e307; }, 3},
        // (i·C)·fm is 0 at i = 0 and infinite from i = 1.
        NonFiniteRow{"tone_phase_overflows", [](AnalysisParameters& p) { p.fm = 1e308; }, 1},
        NonFiniteRow{"infinite_index", [](AnalysisParameters& p) { p.mf = HUGE_VAL; }, 0},
        NonFiniteRow{"nan_window", [](AnalysisParameters& p) { p.W = std::nan(""); }, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace trelvano
