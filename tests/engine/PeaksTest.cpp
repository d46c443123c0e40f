#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "engine/Peaks.h"
#include "SampleStates.h"

namespace trelvano {
namespace {

using enginetest::DefaultParameters;
using enginetest::FaultOf;

// An array holding exactly `values`.
void Fill(CheckedArray& array, const std::vector<double>& values)
{
    array.recreate(static_cast<std::int64_t>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) array.at(static_cast<std::int64_t>(i)) = values[i];
}

struct PeakRow {
    const char* name;
    std::vector<double> values;
    std::int32_t n;
    double peak;
    std::int32_t counterAfter;
};

class SignalPeak : public ::testing::TestWithParam<PeakRow> {};

TEST_P(SignalPeak, IsTheLargestMagnitudeOverZeroToN)
{
    AnalysisState state;
    Fill(state.buffers.Signal, GetParam().values);
    state.params.N = GetParam().n;
    FindSignalPeak(state);
    EXPECT_EQ(state.params.SignalPeak, GetParam().peak);
    EXPECT_EQ(state.params.SampleIndex, GetParam().counterAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Peaks, SignalPeak,
    ::testing::Values(PeakRow{"negative_sample_counts", {-3, 2, 0}, 2, 3, 3},
                      PeakRow{"negative_first_sample_is_made_positive", {-5, 1, 2}, 2, 5, 3},
                      PeakRow{"last_sample_n_is_scanned", {1, 2, -9, 0}, 2, 9, 3},
                      PeakRow{"beyond_n_is_not_scanned", {1, 2, 3, -9}, 2, 3, 3},
                      PeakRow{"zero_n_scans_only_sample_zero", {-4, 7}, 0, 4, 1},
                      PeakRow{"all_zero", {0, 0, 0}, 1, 0, 2},
                      // After a rejected press raised N the scan stops at the array's end.
                      PeakRow{"n_beyond_the_array_is_clamped", {1, -6, 2, 0}, 100, 6, 4},
                      // A negative N scans nothing: the start value keeps its sign.
                      PeakRow{"negative_n_keeps_the_signed_start", {-3, 8}, -5, -3, 0}),
    [](const auto& info) { return std::string(info.param.name); });

class SpectrumPeak : public ::testing::TestWithParam<PeakRow> {};

TEST_P(SpectrumPeak, IsTheLargestMagnitudeOverZeroToNMinusOne)
{
    AnalysisState state;
    Fill(state.buffers.Spectrum, GetParam().values);
    state.params.N = GetParam().n;
    FindSpectrumPeak(state);
    EXPECT_EQ(state.params.SpectrumPeak, GetParam().peak);
    EXPECT_EQ(state.params.BinIndex, GetParam().counterAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Peaks, SpectrumPeak,
    ::testing::Values(PeakRow{"bin_zero_counts", {9, 1, 2, 0, 0}, 3, 9, 3},
                      PeakRow{"bin_n_is_not_scanned", {1, 2, 3, 8, 0}, 3, 3, 3},
                      PeakRow{"negative_window_values", {-0.5, -4, -2, 0}, 2, 4, 2},
                      // N = 0: no bin is scanned and bin 0 stays as stored, sign included.
                      PeakRow{"zero_n_keeps_the_stored_bin_zero", {-2, 5}, 0, -2, 0},
                      PeakRow{"n_beyond_the_array_is_clamped", {1, 3, 2}, 50, 3, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Peaks, EmptyArraysAreAnIndexFault)
{
    AnalysisState state;
    state.params.N = 10;
    EXPECT_EQ(FaultOf([&] { FindSignalPeak(state); }), FaultKind::IndexOutOfRange);
    EXPECT_EQ(FaultOf([&] { FindSpectrumPeak(state); }), FaultKind::IndexOutOfRange);

    // A negative N re-creates empty buffers, and the run stops here.
    state.params.N = -7;
    AllocateSampleBuffers(state);
    EXPECT_EQ(FaultOf([&] { FindSignalPeak(state); }), FaultKind::IndexOutOfRange);
}

TEST(Peaks, NonFiniteValuesAreAFloatingPointFault)
{
    for (const double bad : {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::infinity()}) {
        AnalysisState state;
        Fill(state.buffers.Signal, {1, 2, bad, 4});
        Fill(state.buffers.Spectrum, {1, bad, 0, 0});
        state.params.N = 3;
        EXPECT_EQ(FaultOf([&] { FindSignalPeak(state); }), FaultKind::FloatingPoint);
        EXPECT_EQ(state.params.SignalPeak, 2.0);  // as far as the scan came
        EXPECT_EQ(FaultOf([&] { FindSpectrumPeak(state); }), FaultKind::FloatingPoint);
    }
}

TEST(Peaks, LastBinOfTheMostNegativeCountOverflows)
{
    AnalysisState state;
    Fill(state.buffers.Spectrum, {1, 2});
    state.params.N = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(FaultOf([&] { FindSpectrumPeak(state); }), FaultKind::Overflow);
}

TEST(Peaks, DefaultEntries)
{
    AnalysisState am;
    am.params = DefaultParameters();
    enginetest::RunToSpectrum(am, "AM");
    FindSignalPeak(am);
    FindSpectrumPeak(am);
    EXPECT_EQ(am.params.SignalPeak, 37.5);
    EXPECT_NEAR(am.params.SpectrumPeak, 25.0, 1e-11);
    EXPECT_EQ(am.params.SampleIndex, 1001);
    EXPECT_EQ(am.params.BinIndex, 1000);

    AnalysisState fm;
    fm.params = DefaultParameters();
    enginetest::RunToSpectrum(fm, "FM");
    FindSignalPeak(fm);
    FindSpectrumPeak(fm);
    EXPECT_LE(fm.params.SignalPeak, 25.0);
    EXPECT_NEAR(fm.params.SignalPeak, 25.0, 1e-3);
    // The third sidebands, bins 42 and 78, are the tallest; 42 also holds the
    // folded sideband n = -17 (about 1e-8 V), so the two differ slightly.
    EXPECT_NEAR(fm.params.SpectrumPeak, 10.800, 5e-4);
    EXPECT_EQ(fm.params.SpectrumPeak, std::max(fm.buffers.Spectrum.at(42), fm.buffers.Spectrum.at(78)));
    EXPECT_NEAR(fm.buffers.Spectrum.at(42), fm.buffers.Spectrum.at(78), 1e-7);
}

TEST(Peaks, ZeroAmplitudeGivesZeroPeaks)
{
    AnalysisState state;
    state.params = DefaultParameters();
    state.params.Vp = 0.0;
    enginetest::RunToSpectrum(state, "PM");
    FindSignalPeak(state);
    FindSpectrumPeak(state);
    EXPECT_EQ(state.params.SignalPeak, 0.0);
    EXPECT_EQ(state.params.SpectrumPeak, 0.0);
}

}  // namespace
}  // namespace trelvano
