#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "RecordingCanvas.h"
#include "plot/PlotMapping.h"
#include "plot/PlotPasses.h"

namespace trelvano::plot {
namespace {

using test::RecordedLine;
using test::RecordingCanvas;

// The default AM waveform (25 V, 30 kHz carrier, index 0.5 at 3 kHz, 2 ms);
// sample N is never synthesised and stays 0.
std::vector<double> AmSignal(std::int32_t n)
{
    std::vector<double> signal(static_cast<std::size_t>(n) + 2, 0.0);
    for (std::int32_t i = 0; i < n; ++i) {
        const double t = i * 0.002 / n;
        signal[static_cast<std::size_t>(i)] = 25.0 * (1.0 + 0.5 * std::cos(6.28318530717958 * 3000.0 * t))
                                             * std::cos(6.28318530717958 * 30000.0 * t);
    }
    return signal;
}

std::int32_t LastBinOf(std::int32_t n)
{
    return static_cast<std::int32_t>(std::nearbyint(n / 2.0));  // ties to even
}

bool IsTame(const RecordedLine& line)
{
    for (const float c : {line.x1, line.y1, line.x2, line.y2}) {
        if (!std::isfinite(c) || std::fabs(c) > 200.0F) {
            return false;
        }
    }
    return true;
}

struct CountCase {
    const char* name;
    std::int32_t n;
    std::int32_t lines;  // spectrum lines expected: one per bin 1..LastBin
};

class PassCounts : public ::testing::TestWithParam<CountCase> {};

TEST_P(PassCounts, OneSegmentPerSampleAndOneLinePerBin)
{
    const CountCase c = GetParam();
    ASSERT_EQ(LastBinOf(c.n), c.lines);
    const std::vector<double> signal = AmSignal(c.n);
    RecordingCanvas waveform;
    DrawWaveformTrace(waveform, signal, c.n, 1.0, 37.5);
    EXPECT_EQ(waveform.lines.size(), static_cast<std::size_t>(c.n));
    const std::vector<double> spectrum(static_cast<std::size_t>(c.n) + 2, 1.0);
    RecordingCanvas lines;
    DrawSpectrumLines(lines, spectrum, c.n, 1.0, 1.0, LastBinOf(c.n));
    EXPECT_EQ(lines.lines.size(), static_cast<std::size_t>(c.lines));
}

INSTANTIATE_TEST_SUITE_P(Sizes, PassCounts,
                         ::testing::Values(CountCase{"none", 0, 0}, CountCase{"one", 1, 0},
                                           CountCase{"thousand", 1000, 500}, CountCase{"thousandOne", 1001, 500},
                                           CountCase{"thousandThree", 1003, 502}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WaveformTrace, DefaultAmRunsFromPeakToZeroLevelAsOneChain)
{
    const std::vector<double> signal = AmSignal(1000);
    RecordingCanvas canvas;
    DrawWaveformTrace(canvas, signal, 1000, 1.0, 37.5);
    ASSERT_EQ(canvas.lines.size(), 1000U);
    EXPECT_EQ(canvas.lines.front().x1, 0.0F);
    EXPECT_EQ(canvas.lines.front().y1, 95.0F);
    EXPECT_EQ(canvas.lines.back().x2, 100.0F);
    EXPECT_EQ(canvas.lines.back().y2, 50.0F);
    for (std::size_t i = 0; i < canvas.lines.size(); ++i) {
        const RecordedLine& line = canvas.lines[i];
        EXPECT_EQ(line.colour, Black);
        EXPECT_EQ(line.x1, static_cast<float>(SampleX(static_cast<std::int64_t>(i), 1000, 1.0)));
        if (i > 0) {
            EXPECT_EQ(line.x1, canvas.lines[i - 1].x2);
            EXPECT_EQ(line.y1, canvas.lines[i - 1].y2);
        }
    }
}

TEST(WaveformTrace, ZeroPeakDrawsOnTheZeroLevel)
{
    const std::vector<double> silence(101, 0.0);
    RecordingCanvas canvas;
    DrawWaveformTrace(canvas, silence, 100, 1.0, 0.0);
    ASSERT_EQ(canvas.lines.size(), 100U);
    for (const RecordedLine& line : canvas.lines) {
        EXPECT_EQ(line.y1, 50.0F);
        EXPECT_EQ(line.y2, 50.0F);
    }
}

TEST(WaveformTrace, TimeExpansionMovesTheEnd)
{
    const std::vector<double> signal = AmSignal(1000);
    RecordingCanvas collapsed;
    DrawWaveformTrace(collapsed, signal, 1000, 0.0, 37.5);
    ASSERT_EQ(collapsed.lines.size(), 1000U);
    for (const RecordedLine& line : collapsed.lines) {
        EXPECT_EQ(line.x1, 0.0F);
        EXPECT_EQ(line.x2, 0.0F);
    }
    RecordingCanvas doubled;
    DrawWaveformTrace(doubled, signal, 1000, 2.0, 37.5);
    ASSERT_EQ(doubled.lines.size(), 1000U);
    EXPECT_EQ(doubled.lines.back().x2, 200.0F);
    EXPECT_EQ(doubled.lines.back().y2, 50.0F);
}

class HugeExpansion : public ::testing::TestWithParam<double> {};

TEST_P(HugeExpansion, HandsOnlyTameCoordinates)
{
    const double factor = GetParam();
    const std::vector<double> signal = AmSignal(1000);
    RecordingCanvas trace;
    DrawWaveformTrace(trace, signal, 1000, factor, 37.5);
    RecordingCanvas lines;
    DrawSpectrumLines(lines, signal, 1000, factor, 37.5, 500);
    for (const RecordedLine& line : trace.lines) {
        EXPECT_TRUE(IsTame(line));
    }
    for (const RecordedLine& line : lines.lines) {
        EXPECT_TRUE(IsTame(line));
    }
    // The first segment still leaves the peak at the left edge when it has a
    // finite float end; beyond the float range nothing of it can be drawn.
    if (SampleX(1, 1000, factor) < std::numeric_limits<float>::max()) {
        ASSERT_FALSE(trace.lines.empty());
        EXPECT_EQ(trace.lines.front().x1, 0.0F);
        EXPECT_EQ(trace.lines.front().y1, 95.0F);
    }
}

INSTANTIATE_TEST_SUITE_P(Factors, HugeExpansion, ::testing::Values(1e30, 1e300, -1e30, 1e6));

TEST(WaveformTrace, UndrawableSamplesBreakTheTrace)
{
    std::vector<double> signal = AmSignal(4);
    signal[2] = std::numeric_limits<double>::quiet_NaN();
    RecordingCanvas canvas;
    DrawWaveformTrace(canvas, signal, 4, 1.0, 37.5);
    ASSERT_EQ(canvas.lines.size(), 2U);  // 0-1 and 3-4; both segments at sample 2 go
    EXPECT_EQ(canvas.lines[0].x2, 25.0F);
    EXPECT_EQ(canvas.lines[1].x1, 75.0F);
}

TEST(DrawingPasses, NeverReadPastTheBuffers)
{
    const std::vector<double> three{1.0, -1.0, 0.5};
    RecordingCanvas trace;
    DrawWaveformTrace(trace, three, 1000, 1.0, 1.0);
    EXPECT_EQ(trace.lines.size(), 2U);
    RecordingCanvas lines;
    DrawSpectrumLines(lines, three, 1000, 1.0, 1.0, 500);
    EXPECT_EQ(lines.lines.size(), 2U);
    RecordingCanvas negative;
    DrawWaveformTrace(negative, three, -5, 1.0, 1.0);
    DrawSpectrumLines(negative, three, -5, 1.0, 1.0, 2);
    EXPECT_TRUE(negative.lines.empty());
}

TEST(SpectrumLines, DefaultAmCarrierAndSideLines)
{
    std::vector<double> spectrum(1002, 0.0);
    spectrum[54] = 6.25;
    spectrum[60] = 25.0;
    spectrum[66] = 6.25;
    RecordingCanvas canvas;
    DrawSpectrumLines(canvas, spectrum, 1000, 1000.0 / (30000.0 * 0.008), 25.0, 500);
    // Lines far right of the surface (x beyond 200) are not handed on at all.
    ASSERT_GE(canvas.lines.size(), 66U);
    for (const auto& [bin, x, height] : {std::tuple{54, 45.0F, 22.5F}, std::tuple{60, 50.0F, 90.0F},
                                         std::tuple{66, 55.0F, 22.5F}}) {
        const RecordedLine& line = canvas.lines[static_cast<std::size_t>(bin) - 1];  // bin 0 is not drawn
        EXPECT_NEAR(line.x1, x, 1e-4F);
        EXPECT_EQ(line.x2, line.x1);
        EXPECT_EQ(line.y1, 0.0F);
        EXPECT_EQ(line.y2, height);
        EXPECT_EQ(line.colour, Red);
    }
}

TEST(SpectrumLines, ZeroPeakDrawsHeightZero)
{
    const std::vector<double> silence(1002, 0.0);
    RecordingCanvas canvas;
    DrawSpectrumLines(canvas, silence, 1000, 1.0, 0.0, 500);
    ASSERT_EQ(canvas.lines.size(), 500U);
    for (const RecordedLine& line : canvas.lines) {
        EXPECT_EQ(line.y1, 0.0F);
        EXPECT_EQ(line.y2, 0.0F);
        EXPECT_TRUE(std::isfinite(line.x1));
    }
}

}  // namespace
}  // namespace trelvano::plot
