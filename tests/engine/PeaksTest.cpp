#include "engine/Peaks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "SampleStates.h"

namespace trelvano {
namespace {

// Signal is scanned over 0..N, Spectrum over 0..N-1, both clamped to the array; empty arrays are a fault.
TEST(Peaks, LargestMagnitudeOfTheScannedRange)
{
    const struct { const char* name; bool spectrum; std::vector<double> values; int n; double peak; } rows[] = {
        {"NegativeSampleCounts", false, {-3, 2, 0}, 2, 3},
        {"NegativeFirstSampleLargest", false, {-5, 1, 2}, 2, 5},
        {"ClampedSignalScan", false, {1, -6, 2, 0}, 100, 6},
        {"BinZeroCounts", true, {9, 1, 2, 0, 0}, 3, 9},
        {"ClampedSpectrumScan", true, {1, -3, 2}, 50, 3},
        {"LargestInALaterBlock", false, {1, 2, 3, 4, 5, 6, -11, 8, 9}, 8, 11},
        {"LargestInTheTail", true, {1, 2, 3, 4, 5, 6, 7, 8, -12, 0}, 10, 12},
        {"BeyondNIgnored", false, {1, 2, 3, 4, 5, 6, 7, 8, 50, 0}, 7, 8},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AnalysisState state;
        CheckedArray& array = row.spectrum ? state.buffers.Spectrum : state.buffers.Signal;
        array.recreate(static_cast<std::int64_t>(row.values.size()));
        for (std::size_t i = 0; i < row.values.size(); ++i) array.at(static_cast<std::int64_t>(i)) = row.values[i];
        state.params.N = row.n;
        row.spectrum ? FindSpectrumPeak(state) : FindSignalPeak(state);
        EXPECT_EQ(row.spectrum ? state.params.SpectrumPeak : state.params.SignalPeak, row.peak);
    }
    AnalysisState bad;
    bad.buffers.Signal.recreate(10);
    for (int i = 0; i < 10; ++i) bad.buffers.Signal.at(i) = i == 6 ? INFINITY : i;
    bad.params.N = 9;
    EXPECT_EQ(enginetest::FaultOf([&] { FindSignalPeak(bad); }), FaultKind::FloatingPoint);
    EXPECT_EQ(bad.params.SignalPeak, 5);  // the peak up to the fault, as a one-by-one scan leaves it
    EXPECT_EQ(bad.params.SampleIndex, 6);
    AnalysisState empty;
    empty.params.N = 10;
    EXPECT_EQ(enginetest::FaultOf([&] { FindSignalPeak(empty); }), FaultKind::IndexOutOfRange);
    EXPECT_EQ(enginetest::FaultOf([&] { FindSpectrumPeak(empty); }), FaultKind::IndexOutOfRange);
}

}  // namespace
}  // namespace trelvano
