#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <cstdint>
#include <tuple>
#include <vector>

#include "plot/ClipSegment.h"
#include "plot/PlotMapping.h"
#include "plot/PlotPasses.h"
#include "tests/support/AmSignal.h"
#include "tests/support/RecordingCanvas.h"

namespace trelvano::plot {
namespace {

using namespace support;

Lines Trace(const std::vector<double>& signal, std::int32_t n, double kt, double peak, PixelSize pixels = {})
{
    RecordingCanvas canvas(pixels);
    DrawWaveformTrace(canvas, signal, n, kt, peak);
    return canvas.lines;
}

Lines Stems(const std::vector<double>& spectrum, std::int32_t n, double scale, double peak, std::int32_t lastBin,
            PixelSize pixels = {})
{
    RecordingCanvas canvas(pixels);
    DrawSpectrumLines(canvas, spectrum, n, scale, peak, lastBin);
    return canvas.lines;
}

// Stems get a spectrum ending at lastBin, so a read past it shows in the sanitizer build; with the
// initial AM entries and N = 482, or W = 1 ms, N = 10, fp = 1 kHz, the guard box cuts off the last bin.
// A press at N = 3·10⁷ draws samples whose i·100, and bins whose k·200, no longer fit 32 bits, and the samples
// shared out over threads are indexed the same way.
TEST(Mappings, IndicesPast32BitsStillLandWhereTheyBelong)
{
    const std::int64_t n = 30'000'000;
    EXPECT_EQ(plot::SampleX(n, n, 1.0), 100.0);
    EXPECT_EQ(plot::SampleX(25'000'001, n, 2.0), 2'500'000'100.0 * 2.0 / 3e7);
    EXPECT_EQ(plot::BinX(n / 2, n, 0.5), 3e9 * 0.5 / 3e7);
}

TEST(Passes, OneChainedSegmentPerSampleFromPeakToZeroLevelAndOneLinePerBinInTheBox)
{
    // N, the last bin, Kt, where sample N lands, the frequency scale and the lines drawn.
    const std::tuple<std::int32_t, std::int32_t, double, float, double, std::size_t> rows[] = {
        {0, 0, 1.0, 0.0F, 1.0, 0},
        {1, 0, 1.0, 100.0F, 1.0, 0},
        {1000, 500, 1.0, 100.0F, 1.0, 500},
        {1001, 500, 1.0, 100.0F, 1.0, 500},
        {1003, 502, 1.0, 100.0F, 1.0, 502},
        {1000, 500, 0.0, 0.0F, 1.0, 500},
        {1000, 500, 2.0, 200.0F, 1.0, 500},
        {482, 241, 1.0, 100.0F, 482 / (30000.0 * 0.008), 240},
        {10, 5, 1.0, 100.0F, 10 / (1000.0 * 0.004), 4}};
    for (const auto& [n, lastBin, kt, lastX, freqScale, drawn] : rows) {
        SCOPED_TRACE(testing::Message() << "N = " << n << ", Kt = " << kt);
        const std::vector<double> signal = AmSignal(n), spectrum(signal.begin(), signal.begin() + lastBin + 1);
        EXPECT_EQ(Stems(spectrum, n, freqScale, 37.5, lastBin).size(), drawn);
        const Lines trace = Trace(signal, n, kt, 37.5);
        ASSERT_EQ(trace.size(), static_cast<std::size_t>(n));
        RecordedLine previous{0.0F, 0.0F, 0.0F, 95.0F, Black};  // the trace starts at the peak, sample 0
        for (const RecordedLine& l : trace) {
            ASSERT_TRUE(l.x1 == previous.x2 && l.y1 == previous.y2 && l.colour == Black && l.x2 >= 0.0F &&
                        l.x2 <= lastX)
                << "segment " << &l - trace.data();
            previous = l;
        }
        EXPECT_TRUE(n == 0 || (previous.x2 == lastX && previous.y2 == 50.0F));
    }
    // Buffers shorter than N + 1, or a negative N, are not read past.
    const std::vector<double> three{1.0, -1.0, 0.5};
    EXPECT_TRUE(Trace(three, 1000, 1.0, 1.0).size() == 2U && Stems(three, 1000, 1.0, 1.0, 500).size() == 2U);
    EXPECT_TRUE(Trace(three, -5, 1.0, 1.0).empty() && Stems(three, -5, 1.0, 1.0, 2).empty());
}

TEST(Lines, ZeroAxisAndGuardBoxCuts)
{
    RecordingCanvas canvas;
    DrawZeroAxis(canvas);
    DrawClippedLine(canvas, {-1e30F, 50.0F}, {1e30F, 50.0F}, Red);     // interpolated cuts would meet at x = 0
    DrawClippedLine(canvas, {150.0F, 300.0F}, {300.0F, 150.0F}, Red);  // misses the box past its corner
    DrawClippedLine(canvas, {30.0F, 1e30F}, {30.0F, -1e30F}, Red);
    EXPECT_EQ(canvas.lines, (Lines{{0.0F, 50.0F, 100.0F, 50.0F, Black},
                                   {-100.0F, 50.0F, 200.0F, 50.0F, Red},
                                   {30.0F, 200.0F, 30.0F, -100.0F, Red}}));
}

// On 10 × 100 pixels a plot unit is a pixel row and each column holds 100
// samples or bins. A trace between +peak and -peak lights rows 5..94 of every
// column: one stroke down its middle from the top of row 5 to the bottom of
// row 94. Bins of heights 0..6, 50 to a column, merge into one line from 0 to
// the tallest; bin 500 stands alone on the right edge.
TEST(ColumnMerging, OneStrokePerColumnOverExactlyTheRowsLit)
{
    std::vector<double> alternating(1001, 0.0), levels(1001, 0.0);
    for (std::size_t i = 0; i < 1000; ++i) {
        alternating[i] = i % 2 ? -1.0 : 1.0;
        levels[i] = static_cast<double>(i % 7);
    }
    const Lines trace = Trace(alternating, 1000, 1.0, 1.0, {10, 100});
    const Lines stems = Stems(levels, 1000, 1.0, 6.0, 500, {10, 100});
    ASSERT_EQ(stems.size(), 11U);
    for (int c = 0; c < 10; ++c) {
        const float x = 10.0F * static_cast<float>(c) + 5.0F;
        EXPECT_EQ(std::count(trace.begin(), trace.end(), RecordedLine{x, 95.0F, x, 5.0F, Black}), 1) << "column " << c;
        EXPECT_EQ(stems.at(static_cast<std::size_t>(c)), (RecordedLine{x, 0.0F, x, 90.0F, Red})) << "column " << c;
    }
    // Apart from the strokes, only the segments from one column into the next.
    EXPECT_EQ(trace.size(), 10U + 10U);
    EXPECT_EQ(stems.back(), (RecordedLine{100.0F, 0.0F, 100.0F, 45.0F, Red}));
    // A trace squeezed to one point (Kt = 0, no signal) lights the row a painter rounds the point into: on 101
    // rows the zero level falls at device row 50.5, which a painter draws in row 51.
    const Lines point = Trace(std::vector<double>(1001, 0.0), 1000, 0.0, 0.0, {10, 101});
    ASSERT_EQ(point.size(), 1U);
    EXPECT_NEAR(point[0].y1, 100.0 - 51 / 1.01, 1e-4) << point[0];
}

// A trace of millions of samples worked out in parts (run here in reverse order) draws the very lines, in the
// same order, as one worked out in one piece: across the box, past its right edge (time expansion 2.5), in one
// column (no expansion), and with gaps where samples are not finite, some at the parts' edges.
TEST(ColumnMerging, ATraceWorkedOutInPartsDrawsWhatOnePieceDraws)
{
    const std::int32_t n = 2'500'000;
    const PartRunner backwards = [](std::size_t parts, const std::function<void(std::size_t)>& part) {
        for (std::size_t p = parts; p-- > 0;) part(p);
    };
    for (const auto& [kt, gaps] : {std::pair{1.0, false}, {2.5, false}, {0.0, false}, {1.0, true}}) {
        SCOPED_TRACE(testing::Message() << "kt " << kt << (gaps ? ", gaps" : ""));
        std::vector<double> signal = AmSignal(n);
        if (gaps) {
            for (const std::int32_t i : {1'048'575, 1'048'576, 1'050'000, 2'097'152, 2'400'000}) signal[i] = NAN;
        }
        RecordingCanvas whole({1001, 609}), parts({1001, 609});
        DrawWaveformTrace(whole, signal, n, kt, 37.5);
        DrawWaveformTrace(parts, signal, n, kt, 37.5, backwards);
        EXPECT_FALSE(whole.lines.empty());
        EXPECT_EQ(whole.lines, parts.lines);
    }
}

}  // namespace
}  // namespace trelvano::plot
