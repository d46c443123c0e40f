#include "engine/signal/Peaks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <tuple>
#include <vector>

#include "tests/engine/SampleStates.h"
#include "engine/signal/Spectrum.h"

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

// A scan fed in pieces while the values are written leaves what the standalone scan
// leaves: the peak, the counter and the fault, with its index, on a value not finite.
TEST(Peaks, ScanTakenInPiecesSettlesAsTheStandaloneScan)
{
    const struct { const char* name; std::vector<double> values; std::size_t piece; } rows[] = {
        {"NegativeStart", {-7, 2, -3, 5, 1, 0, 4, -2, 6, 3}, 3},
        {"NegativeZeroOnly", {-0.0, -0.0, 0.0, -0.0}, 1},
        {"NanFirst", {NAN, 9, 1, 2, 3, 4}, 4},
        {"InfinityInAPieceAfterTheFirst", {1, 2, 8, 3, 4, 5, 6, -INFINITY, 9, 1, 2}, 5},
        {"NanInTheLastPiece", {3, 1, 4, 1, 5, 9, 2, 6, 5, 3, NAN}, 8},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // Signal over 0..N with N = size - 1; Spectrum over 0..N-1 with N = size,
        // its scan covering bins 0..LastBin and zeros above them.
        for (const bool spectrum : {false, true}) {
            SCOPED_TRACE(spectrum ? "spectrum" : "signal");
            const auto n = static_cast<std::int32_t>(spectrum ? row.values.size() : row.values.size() - 1);
            const std::size_t scanned = spectrum ? static_cast<std::size_t>(LastBinFor(n)) + 1 : row.values.size();
            AnalysisState state;
            state.params.N = n;
            CheckedArray& array = spectrum ? state.buffers.Spectrum : state.buffers.Signal;
            array.recreate(n + 2);
            PeakScan scan;
            for (std::size_t i = 0; i < scanned; ++i) array.at(static_cast<std::int64_t>(i)) = row.values[i];
            for (std::size_t first = 0; first < scanned; first += row.piece) {
                scan.take(array.all().subspan(first, std::min(row.piece, scanned - first)));
            }
            // Fault, peak to the bit and both counters.
            const auto outcome = [&state, spectrum](auto find) {
                AnalysisParameters& p = state.params;
                p.SignalPeak = p.SpectrumPeak = 123.0;
                p.SampleIndex = p.BinIndex = -5;
                const auto fault = enginetest::FaultOf(find);
                return std::tuple(fault, std::bit_cast<std::uint64_t>(spectrum ? p.SpectrumPeak : p.SignalPeak),
                                  p.SampleIndex, p.BinIndex);
            };
            EXPECT_EQ(outcome([&] { spectrum ? FindSpectrumPeak(state) : FindSignalPeak(state); }),
                      outcome([&] { spectrum ? FindSpectrumPeak(state, scan) : FindSignalPeak(state, scan); }));
        }
    }
}

}  // namespace
}  // namespace trelvano
