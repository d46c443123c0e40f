#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "engine/FftPlan.h"
#include "engine/Spectrum.h"
#include "SampleStates.h"

namespace trelvano {
namespace {

using enginetest::DefaultParameters;
using enginetest::FaultOf;
using enginetest::RunToSpectrum;

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();

struct LastBinRow {
    const char* name;
    std::int32_t n;
    std::int32_t lastBin;
};

class LastBin : public ::testing::TestWithParam<LastBinRow> {};

TEST_P(LastBin, IsHalfOfNWithTiesToEven)
{
    EXPECT_EQ(LastBinFor(GetParam().n), GetParam().lastBin);
}

INSTANTIATE_TEST_SUITE_P(
    Spectrum, LastBin,
    ::testing::Values(LastBinRow{"zero", 0, 0}, LastBinRow{"one_rounds_down_to_even", 1, 0},
                      LastBinRow{"three_rounds_up_to_even", 3, 2}, LastBinRow{"five_rounds_down", 5, 2},
                      LastBinRow{"seven_rounds_up", 7, 4}, LastBinRow{"even_thousand", 1000, 500},
                      LastBinRow{"thousand_and_one", 1001, 500}, LastBinRow{"thousand_and_three", 1003, 502},
                      LastBinRow{"minus_one_is_zero", -1, 0}, LastBinRow{"minus_two", -2, -1},
                      LastBinRow{"minus_three", -3, -2}, LastBinRow{"largest_n", kMaxInt, 1073741824},
                      LastBinRow{"smallest_n", kMinInt, -1073741824}),
    [](const auto& info) { return std::string(info.param.name); });

AnalysisState SpectrumOfRandomSamples(std::int32_t n, double window = 0.002)
{
    AnalysisState state;
    state.params = DefaultParameters();
    state.params.W = window;
    enginetest::FillRandomSignal(state, n, 7u, 10.0);
    ComputeSpectrum(state);
    return state;
}

// Bin N - k holds the conjugate of bin k, written in increasing k.
void ExpectMirrorOfBin(const SampleBuffers& b, std::int32_t n, std::int32_t k)
{
    EXPECT_TRUE(SameBits(b.SpecRe.at(n - k), b.SpecRe.at(k))) << "re of " << n - k;
    EXPECT_TRUE(SameBits(b.SpecIm.at(n - k), -b.SpecIm.at(k))) << "im of " << n - k;
}

TEST(SpectrumMirror, FourQPlusThreeOverwritesTheBinBeforeLast)
{
    for (const std::int32_t n : {3, 7, 11, 1003}) {
        SCOPED_TRACE("N = " + std::to_string(n));
        const AnalysisState state = SpectrumOfRandomSamples(n);
        const SampleBuffers& b = state.buffers;
        const std::int32_t lastBin = LastBinFor(n);
        ASSERT_EQ(lastBin, (n + 1) / 2);
        // Bin lastBin - 1 is now the conjugate of bin lastBin, and so is its magnitude.
        ExpectMirrorOfBin(b, n, lastBin);
        EXPECT_EQ(b.Spectrum.at(lastBin - 1), b.Spectrum.at(lastBin));
        for (std::int32_t k = 0; k < lastBin - 1; ++k) ExpectMirrorOfBin(b, n, k);
        EXPECT_NE(b.SpecIm.at(lastBin), 0.0);
    }
}

TEST(SpectrumMirror, EvenNNegatesTheMiddleBinInPlace)
{
    constexpr std::int32_t n = 8;
    const AnalysisState state = SpectrumOfRandomSamples(n);
    const SampleBuffers& b = state.buffers;

    // The middle bin as the transform gives it, before the mirror fill.
    FftPlan plan(n);
    for (std::int32_t i = 0; i < n; ++i) plan.input()[i] = (state.params.W / n) * b.Signal.at(i);
    plan.execute();
    const std::complex<double> middle = plan.output()[n / 2];

    EXPECT_TRUE(SameBits(b.SpecRe.at(n / 2), middle.real()));
    EXPECT_TRUE(SameBits(b.SpecIm.at(n / 2), -middle.imag()));
    EXPECT_TRUE(SameBits(b.SpecRe.at(n), b.SpecRe.at(0)));
    EXPECT_TRUE(SameBits(b.SpecIm.at(n), -b.SpecIm.at(0)));
    for (std::int32_t k = 1; k < n / 2; ++k) ExpectMirrorOfBin(b, n, k);
}

TEST(Spectrum, ElementsAboveTheLastBinStayZero)
{
    AnalysisState state;
    state.params = DefaultParameters();
    RunToSpectrum(state, "FM");
    for (std::int32_t k = 501; k <= 1001; ++k) ASSERT_EQ(state.buffers.Spectrum.at(k), 0.0) << k;
    EXPECT_EQ(state.buffers.SpecRe.at(1001), 0.0);
    EXPECT_EQ(state.buffers.SpecIm.at(1001), 0.0);
    EXPECT_EQ(state.params.BinIndex, 501);
    EXPECT_EQ(state.params.SampleIndex, 1000);
}

TEST(Spectrum, NoSamplesGiveAZeroSpectrum)
{
    AnalysisState state;
    state.params = DefaultParameters();
    state.params.N = 0;
    RunToSpectrum(state, "AM");
    const SampleBuffers& b = state.buffers;
    for (const CheckedArray* a : {&b.Signal, &b.SpecRe, &b.SpecIm, &b.Spectrum}) {
        ASSERT_EQ(a->size(), 2);
        EXPECT_EQ(a->at(0), 0.0);
        EXPECT_EQ(a->at(1), 0.0);
    }
    EXPECT_TRUE(std::signbit(b.SpecIm.at(0)));  // the mirror fill negates bin 0 onto itself
    EXPECT_FALSE(state.fft.holds(0));
    EXPECT_EQ(state.params.BinIndex, 1);
}

TEST(Spectrum, OneSampleIsTwiceItsValueOnBinZero)
{
    AnalysisState state;
    state.params = DefaultParameters();
    state.params.N = 1;
    RunToSpectrum(state, "AM");
    const SampleBuffers& b = state.buffers;
    EXPECT_EQ(b.SpecRe.at(0), 0.002 * 37.5);
    EXPECT_EQ(b.SpecRe.at(1), b.SpecRe.at(0));
    EXPECT_NEAR(b.Spectrum.at(0), 75.0, 1e-12);
    EXPECT_EQ(b.Spectrum.at(1), 0.0);
}

TEST(Spectrum, NegativeWindowNegatesEveryValue)
{
    const AnalysisState positive = SpectrumOfRandomSamples(100, 0.002);
    const AnalysisState negative = SpectrumOfRandomSamples(100, -0.002);
    for (std::int32_t k = 0; k <= 50; ++k) {
        EXPECT_TRUE(SameBits(negative.buffers.Spectrum.at(k), -positive.buffers.Spectrum.at(k))) << k;
        EXPECT_LE(negative.buffers.Spectrum.at(k), 0.0);
    }
}

TEST(Spectrum, MinusOneSampleMeetsTheMirrorIndexMinusOne)
{
    AnalysisState state;
    state.params = DefaultParameters();
    state.params.N = -1;
    AllocateSampleBuffers(state);
    EXPECT_EQ(FaultOf([&] { ComputeSpectrum(state); }), FaultKind::IndexOutOfRange);
    EXPECT_EQ(state.params.BinIndex, 0);
}

TEST(Spectrum, MoreNegativeCountsRunNoLoop)
{
    for (const std::int32_t n : {-2, -3, kMinInt}) {
        AnalysisState state;
        state.params = DefaultParameters();
        state.params.N = n;
        AllocateSampleBuffers(state);
        EXPECT_EQ(FaultOf([&] { ComputeSpectrum(state); }), std::nullopt) << n;
        EXPECT_EQ(state.params.BinIndex, 0) << n;
    }
}

struct NonFiniteRow {
    const char* name;
    double sample;
    double window;
};

class SpectrumNonFinite : public ::testing::TestWithParam<NonFiniteRow> {};

TEST_P(SpectrumNonFinite, RaisesAFloatingPointFaultAtBinZero)
{
    AnalysisState state;
    state.params.N = 4;
    state.params.W = GetParam().window;
    AllocateSampleBuffers(state);
    for (std::int32_t i = 0; i < 4; ++i) state.buffers.Signal.at(i) = GetParam().sample;
    EXPECT_EQ(FaultOf([&] { ComputeSpectrum(state); }), FaultKind::FloatingPoint);
    EXPECT_EQ(state.params.BinIndex, 0);
}

INSTANTIATE_TEST_SUITE_P(Spectrum, SpectrumNonFinite,
                         ::testing::Values(NonFiniteRow{"scaled_samples_overflow", 1e308, 1e10},
                                           NonFiniteRow{"sum_of_squares_overflows", 1e300, 1.0},
                                           NonFiniteRow{"zero_window", 1.0, 0.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Spectrum, PlanIsKeptForTheSameSizeAndDroppedForAnother)
{
    AnalysisState state;
    state.params = DefaultParameters();
    RunToSpectrum(state, "AM");
    ASSERT_TRUE(state.fft.holds(1000));
    const FftPlan* first = &state.fft.planFor(1000);
    RunToSpectrum(state, "FM");
    EXPECT_EQ(&state.fft.planFor(1000), first);

    state.params.N = 500;
    AllocateSampleBuffers(state);
    EXPECT_FALSE(state.fft.holds(1000));
    EXPECT_EQ(state.fft.heldBytes(), 0);
}

}  // namespace
}  // namespace trelvano
