#include "engine/Synthesis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "SampleStates.h"

namespace trelvano {
namespace {

using enginetest::DefaultState;

TEST(Synthesis, SelectionCopiesOnlyAnExactTypeAndEndsOnTwoZeros)
{
    const double angleStart = 25.0 * std::cos(4.05);
    // A null source copies nothing; `first` is the waveform's sample 0 for the default entries.
    const struct { const char *name, *text; int n; CheckedArray SampleBuffers::*source; double first; } rows[] = {
        {"Am", "AM", 100, &SampleBuffers::AmWave, 37.5},
        {"Fm", "FM", 100, &SampleBuffers::AngleWave, angleStart},
        {"LowerCase", "am", 100, nullptr, 0.0},
        {"TrailingBlank", "AM ", 100, nullptr, 0.0},
        {"OneSample", "PM", 1, &SampleBuffers::AngleWave, angleStart},
        {"NoSamples", "AM", 0, &SampleBuffers::AmWave, 0.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AnalysisState state = DefaultState(row.n);
        enginetest::Synthesise(state, row.text);
        const SampleBuffers& b = state.buffers;
        EXPECT_EQ(b.Signal.at(0), row.first);
        for (std::int32_t i = 0; i < row.n; ++i) ASSERT_EQ(b.Signal.at(i), row.source ? (b.*row.source).at(i) : 0.0);
        EXPECT_EQ(b.Signal.at(row.n), 0.0);
        EXPECT_EQ(b.Signal.at(row.n + 1), 0.0);
    }

    AnalysisState fm = DefaultState(), pm = DefaultState();
    enginetest::Synthesise(fm, "FM");
    enginetest::Synthesise(pm, "PM");
    const auto a = fm.buffers.Signal.all(), b = pm.buffers.Signal.all();
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size_bytes()), 0) << "FM and PM differ";
}

TEST(Synthesis, NonFiniteSampleIsAFloatingPointFault)
{
    AnalysisState state = DefaultState(16);
    state.params.fp = 1e307;  // (fp·2π)·i overflows at i = 3
    AllocateSampleBuffers(state);
    EXPECT_EQ(enginetest::FaultOf([&] { SynthesiseWaveforms(state); }), FaultKind::FloatingPoint);
    EXPECT_EQ(state.params.SampleIndex, 3);
}

}  // namespace
}  // namespace trelvano
