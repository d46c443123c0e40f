#include "engine/signal/Peaks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <tuple>
#include <vector>

#include "engine/core/WorkerPool.h"
#include "tests/support/Faults.h"

namespace trelvano {
namespace {

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
        array.recreate(static_cast<std::int64_t>(values.size()));
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
        bad.buffers.Signal.recreate(size);
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
