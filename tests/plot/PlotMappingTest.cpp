#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "plot/PlotMapping.h"

namespace trelvano::plot {
namespace {

// The default entries: N = 1000 samples over W = 2 ms, carrier 30 kHz; for
// FM/PM also Kf = 0.5, mf = 4.05, fm = 3 kHz. FreqScale = N/((Kf·mf·fm + fp)·4·W).
constexpr std::int64_t DefaultN = 1000;
constexpr double DefaultW = 0.002;
const double AmFreqScale = 1000.0 / (30000.0 * 4.0 * DefaultW);
const double FmFreqScale = 1000.0 / ((0.5 * 4.05 * 3000.0 + 30000.0) * 4.0 * DefaultW);

TEST(PlotMapping, WaveformKnownPoints)
{
    EXPECT_DOUBLE_EQ(SampleX(0, DefaultN, 1.0), 0.0);
    EXPECT_DOUBLE_EQ(SampleX(500, DefaultN, 1.0), 50.0);
    EXPECT_DOUBLE_EQ(SampleX(DefaultN, DefaultN, 1.0), 100.0);
    EXPECT_DOUBLE_EQ(SampleX(DefaultN, DefaultN, 2.0), 200.0);
    EXPECT_DOUBLE_EQ(SampleY(37.5, 37.5), 95.0);
    EXPECT_DOUBLE_EQ(SampleY(-37.5, 37.5), 5.0);
    EXPECT_DOUBLE_EQ(SampleY(0.0, 37.5), 50.0);
    // The readout at the same points: x = 50 is 1 ms, x = 100 with Kt = 2 too.
    EXPECT_DOUBLE_EQ(TimeMsAtX(50.0, DefaultW, 1.0), 1.0);
    EXPECT_DOUBLE_EQ(TimeMsAtX(100.0, DefaultW, 2.0), 1.0);
    EXPECT_DOUBLE_EQ(ValueAtY(95.0, 37.5), 37.5);
    EXPECT_DOUBLE_EQ(ValueAtY(5.0, 37.5), -37.5);
}

TEST(PlotMapping, SpectrumKnownPoints)
{
    // AM: the carrier (bin 60) at mid-width, its side lines (bins 54, 66) at 45 and 55.
    EXPECT_NEAR(BinX(60, DefaultN, AmFreqScale), 50.0, 1e-12);
    EXPECT_NEAR(BinX(54, DefaultN, AmFreqScale), 45.0, 1e-12);
    EXPECT_NEAR(BinX(66, DefaultN, AmFreqScale), 55.0, 1e-12);
    EXPECT_DOUBLE_EQ(BinHeight(25.0, 25.0), 90.0);
    EXPECT_DOUBLE_EQ(BinHeight(6.25, 25.0), 22.5);
    EXPECT_NEAR(FrequencyAtX(50.0, DefaultN, DefaultW, AmFreqScale), 30000.0, 1e-9);
    EXPECT_NEAR(FrequencyAtX(45.0, DefaultN, DefaultW, AmFreqScale), 27000.0, 1e-9);
    EXPECT_NEAR(FrequencyAtX(50.0, DefaultN, DefaultW, FmFreqScale), 36075.0, 1e-9);
    EXPECT_NEAR(FrequencyAtX(100.0, DefaultN, DefaultW, FmFreqScale), 72150.0, 1e-9);
    EXPECT_DOUBLE_EQ(LevelAtY(90.0, 25.0), 25.0);
}

TEST(PlotMapping, ZeroPeakGivesTheZeroLevel)
{
    EXPECT_EQ(SampleY(0.0, 0.0), 50.0);
    EXPECT_EQ(BinHeight(0.0, 0.0), 0.0);
    // The reverse mappings read zero everywhere.
    EXPECT_EQ(ValueAtY(95.0, 0.0), 0.0);
    EXPECT_EQ(LevelAtY(90.0, 0.0), 0.0);
}

TEST(PlotMapping, IndexProductsDoNotOverflow)
{
    // Past N = 21474836 the product i·100 leaves 32 bits.
    constexpr std::int64_t past = 21474837;
    EXPECT_DOUBLE_EQ(SampleX(past, past, 1.0), 100.0);
    EXPECT_DOUBLE_EQ(SampleX(INT32_MAX, INT32_MAX, 1.0), 100.0);
    EXPECT_GT(SampleX(INT32_MAX - 1, INT32_MAX, 1.0), 99.9999);
    // Past k = 10737418 the product k·200 does.
    constexpr std::int64_t bin = 10737419;
    EXPECT_DOUBLE_EQ(BinX(bin, 2 * bin, 1.0), 100.0);
}

struct WaveformPoint {
    const char* name;
    std::int64_t i;
    std::int64_t n;
    double w;
    double kt;
    double value;
    double peak;
};

class WaveformRoundTrip : public ::testing::TestWithParam<WaveformPoint> {};

TEST_P(WaveformRoundTrip, GivesBackTimeAndValue)
{
    const WaveformPoint p = GetParam();
    const double timeMs = static_cast<double>(p.i) * p.w / static_cast<double>(p.n) * 1000.0;
    EXPECT_NEAR(TimeMsAtX(SampleX(p.i, p.n, p.kt), p.w, p.kt), timeMs, 1e-12 * std::fabs(timeMs) + 1e-15);
    EXPECT_NEAR(ValueAtY(SampleY(p.value, p.peak), p.peak), p.value, 1e-12 * p.peak);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, WaveformRoundTrip,
    ::testing::Values(WaveformPoint{"first", 0, 1000, 0.002, 1.0, 37.5, 37.5},
                      WaveformPoint{"middle", 500, 1000, 0.002, 1.0, -12.25, 37.5},
                      WaveformPoint{"last", 1000, 1000, 0.002, 1.0, 0.0, 37.5},
                      WaveformPoint{"expanded", 777, 1001, 0.003, 2.0, 1e-3, 2.5},
                      WaveformPoint{"squeezed", 3, 7, 1.0, 0.25, -4e5, 5e5},
                      WaveformPoint{"hugeN", 30000000, 40000000, 0.01, 1.0, 1.0, 1.0}),
    [](const auto& info) { return std::string(info.param.name); });

struct SpectrumPoint {
    const char* name;
    std::int64_t k;
    std::int64_t n;
    double w;
    double freqScale;
    double level;
    double peak;
};

class SpectrumRoundTrip : public ::testing::TestWithParam<SpectrumPoint> {};

TEST_P(SpectrumRoundTrip, GivesBackFrequencyAndLevel)
{
    const SpectrumPoint p = GetParam();
    const double frequency = static_cast<double>(p.k) / p.w;  // bin k is the frequency k/W
    EXPECT_NEAR(FrequencyAtX(BinX(p.k, p.n, p.freqScale), p.n, p.w, p.freqScale), frequency, 1e-12 * frequency);
    EXPECT_NEAR(LevelAtY(BinHeight(p.level, p.peak), p.peak), p.level, 1e-12 * p.peak);
}

INSTANTIATE_TEST_SUITE_P(
    Bins, SpectrumRoundTrip,
    ::testing::Values(SpectrumPoint{"carrier", 60, 1000, 0.002, 1000.0 / 240.0, 25.0, 25.0},
                      SpectrumPoint{"side", 54, 1000, 0.002, 1000.0 / 240.0, 6.25, 25.0},
                      SpectrumPoint{"last", 502, 1003, 0.002, 1.0, 0.0, 3.0},
                      SpectrumPoint{"odd", 17, 999, 0.0137, 3.3, 1e-9, 2e-6},
                      SpectrumPoint{"huge", 12000000, 24000000, 0.5, 0.75, 7.0, 9.0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace trelvano::plot
