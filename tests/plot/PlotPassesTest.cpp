// The drawing passes, the lines they hand a canvas, and the pixels the raster canvas lights for them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "plot/ClipSegment.h"
#include "plot/PlotMapping.h"
#include "plot/PlotPasses.h"
#include "plot/RasterCanvas.h"
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

constexpr Rgb PaleYellow{255, 255, 192};

struct Segment {
    float x1, y1, x2, y2;
};

// The kinds of segment the stepping must get right, each a family of a few
// hundred, the same on every compiler and library (a generator of our own,
// not <random>'s distributions, whose sequences differ between libraries).
inline constexpr const char* kSegmentKinds[] = {
    "anywhere in the guard box", "ends on pixel edges and centres", "under a pixel long", "of no length", "diagonal",
    "level or upright"};

inline std::vector<Segment> SegmentsOfKind(int kind, int width, int height, int count)
{
    std::uint64_t state = 0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(kind + 1);
    // A float in [lo, hi): 24 bits of a SplitMix64 step.
    const auto uniform = [&state](float lo, float hi) {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        return lo + (hi - lo) * static_cast<float>(z >> 40) / 16777216.0F;
    };
    // Plot units per device pixel, so that ends can land on pixel edges and centres.
    const float px = 100.0F / static_cast<float>(width), py = 100.0F / static_cast<float>(height);
    const auto half = [](float v, float unit) { return std::round(v / unit * 2.0F) / 2.0F * unit; };
    std::vector<Segment> segments;
    for (int i = 0; i < count; ++i) {
        float x1 = uniform(-5.0F, 105.0F), y1 = uniform(-5.0F, 105.0F), x2 = x1, y2 = y1;
        const float d = uniform(-3.0F, 3.0F);
        switch (kind) {
        case 0:
            x1 = uniform(-100.0F, 200.0F), y1 = uniform(-100.0F, 200.0F);
            x2 = uniform(-100.0F, 200.0F), y2 = uniform(-100.0F, 200.0F);
            break;
        case 1:
            x1 = half(x1, px), y1 = half(y1, py);
            x2 = half(uniform(-5.0F, 105.0F), px), y2 = half(uniform(-5.0F, 105.0F), py);
            break;
        case 2:
            x2 += d * px / 3.0F, y2 += uniform(-3.0F, 3.0F) * py / 3.0F;
            break;
        case 3:
            if (i % 2) x1 = x2 = half(x1, px), y1 = y2 = half(y1, py);
            break;
        case 4:
            x2 += d * 7.0F * px, y2 += (i % 2 ? d : -d) * 7.0F * py;
            break;
        default:
            (i % 2 ? x2 : y2) += d * 20.0F;
            break;
        }
        segments.push_back({x1, y1, x2, y2});
    }
    return segments;
}

// Pixels other than opaque background; -1 when one is neither the line colour nor opaque background.
int LinePixels(const RasterCanvas& canvas, Rgb background, Rgb line)
{
    int lit = 0;
    const auto rgba = canvas.Rgba();
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        const Rgb p{rgba[i], rgba[i + 1], rgba[i + 2]};
        if (rgba[i + 3] != 255 || (p != background && p != line)) return -1;
        lit += p == line;
    }
    return lit;
}

// Each family drawn one segment at a time on a blank plot, every lit pixel
// folded into a hash. The answers were recorded from the desktop's painter
// (Qt's raster engine, a cosmetic one-pixel pen with flat caps) on the same
// segments: the plots a user saw before they were drawn here.
TEST(RasterCanvas, SegmentsLightThePaintersPixels)
{
    // The family, the plot's size, the pixels lit and their hash.
    const std::tuple<int, int, int, int, std::uint64_t> answers[] = {
        {0, 61, 37, 6766, 0xF942654CA2D6A2C5ULL},    {1, 61, 37, 9968, 0x518DBB36303EEA90ULL},
        {2, 61, 37, 230, 0x0D1A06A07BDA23AEULL},     {3, 61, 37, 338, 0x85C44CCAC57206A2ULL},
        {4, 61, 37, 2570, 0xCF84E90CF2E6BD91ULL},    {5, 61, 37, 4341, 0x4A489DFC0C4FBD83ULL},
        {0, 200, 122, 22218, 0x71A503982BEDEBA3ULL}, {1, 200, 122, 32743, 0x5BB9EB2D13643C33ULL},
        {2, 200, 122, 238, 0x605A8F63C68B1110ULL},   {3, 200, 122, 336, 0xCD0735DDC7A1EEA0ULL},
        {4, 200, 122, 3225, 0xD837BA2D0C020DFAULL},  {5, 200, 122, 14267, 0xD10775F7E9C51090ULL},
    };
    for (const auto& [kind, width, height, lit, hash] : answers) {
        SCOPED_TRACE(testing::Message() << kSegmentKinds[kind] << ", " << width << " x " << height);
        RasterCanvas canvas({width, height}, PaleYellow);
        std::uint64_t fnv = 0xCBF29CE484222325ULL;  // FNV-1a over the lit pixels' numbers, a byte at a time
        int lighted = 0;
        const std::vector<Segment> segments = SegmentsOfKind(kind, width, height, 400);
        for (std::size_t i = 0; i < segments.size(); ++i) {
            const Segment& s = segments[i];
            canvas.Blank();
            canvas.Line(s.x1, s.y1, s.x2, s.y2, Black);
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    if (canvas.At(x, y) != Black) continue;
                    std::uint64_t word = i * 1000003ULL + static_cast<std::uint64_t>(y * width + x);
                    for (int b = 0; b < 8; ++b, word >>= 8) fnv = (fnv ^ (word & 0xFF)) * 0x100000001B3ULL;
                    ++lighted;
                }
            }
        }
        EXPECT_EQ(lighted, lit);
        EXPECT_EQ(fnv, hash);
    }
    // A point goes to the pixel nearest it, halves away from zero as the painter rounds: half a pixel left of
    // the plot it is off the plot, half a pixel in it lights column 1.
    RasterCanvas dots({10, 10}, PaleYellow);
    dots.Line(-5.0F, 55.0F, -5.0F, 55.0F, Black);
    dots.Line(5.0F, 55.0F, 5.0F, 55.0F, Black);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) EXPECT_EQ(dots.At(x, y) == Black, x == 1 && y == 5) << x << ", " << y;
    }
}

// The same canvas asking the passes for every segment, one by one.
struct EverySegment : RasterCanvas {
    using RasterCanvas::RasterCanvas;
    PixelSize Pixels() const override { return {}; }
};

// A trace or lines merged into pixel columns light what drawing every segment
// lights (at most 0.1 % of the pixels apart), at one and two device pixels a
// layout pixel, and hold nothing but the background and the line's colour.
TEST(RasterCanvas, MergedColumnsDrawWhatEverySegmentDraws)
{
    for (const double ratio : {1.0, 2.0}) {
        for (const std::int32_t n : {1000, 100000, 1000000}) {
            if (ratio != 1.0 && n > 100000) continue;  // as many columns as the ratio makes: 100000 fills them
            for (const std::string shape : {"AM", "noise", "spectrum", "silence"}) {
                SCOPED_TRACE(testing::Message() << shape << ", N = " << n << ", ratio " << ratio);
                std::vector<double> values = shape == "AM" ? support::AmSignal(n) : std::vector<double>(n + 1U, 0.0);
                std::uint32_t seed = 7U;
                const auto noise = [&seed](double lo) {
                    seed = seed * 1664525U + 1013904223U;
                    return lo + (1.0 - lo) * (seed >> 8) / 16777216.0;
                };
                if (shape == "noise")
                    for (std::int32_t i = 0; i < n; ++i) values[i] = noise(-1.0);
                if (shape == "spectrum")
                    for (std::int32_t i = 0; i < n; ++i) values[i] = noise(0.0);
                const double peak = shape == "AM" ? 37.5 : shape == "silence" ? 0.0 : 1.0;
                const Rgb line = shape == "spectrum" ? Red : Black;
                RasterCanvas merged({1001, 609}, PaleYellow, ratio);
                EverySegment each({1001, 609}, PaleYellow, ratio);
                for (RasterCanvas* canvas : {static_cast<RasterCanvas*>(&merged), static_cast<RasterCanvas*>(&each)}) {
                    if (shape == "spectrum")
                        DrawSpectrumLines(*canvas, values, n, 1.0, peak, n / 2);
                    else
                        DrawWaveformTrace(*canvas, values, n, 1.0, peak);
                }
                const int lit = LinePixels(merged, PaleYellow, line);
                ASSERT_GT(lit, 0);
                ASSERT_GE(LinePixels(each, PaleYellow, line), 0);
                int differing = 0;
                for (int y = 0; y < merged.Pixels().height; ++y) {
                    for (int x = 0; x < merged.Pixels().width; ++x) differing += merged.At(x, y) != each.At(x, y);
                }
                EXPECT_LE(1000.0 * differing, 1.0 * merged.Pixels().width * merged.Pixels().height);
            }
        }
    }
}

}  // namespace
}  // namespace trelvano::plot
