#include "PlotPasses.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "ClipSegment.h"
#include "FloorOf.h"
#include "PixelGrid.h"
#include "PlotMapping.h"
#include "StemColumnMerger.h"
#include "TraceColumnMerger.h"

namespace trelvano::plot {

namespace {

// Keeps the lines one part of a trace draws, for the real canvas to draw in
// order once every part is done.
class LineRecorder final : public Canvas {
public:
    explicit LineRecorder(PixelSize pixels) : pixels_(pixels) {}
    void Scale(double, double, double, double) override {}
    void Line(float x1, float y1, float x2, float y2, Rgb colour) override
    {
        lines_.push_back({x1, y1, x2, y2, colour});
    }
    void Blank() override { lines_.clear(); }
    PixelSize Pixels() const override { return pixels_; }
    void DrawOn(Canvas& canvas) const
    {
        for (const Stroke& s : lines_) canvas.Line(s.x1, s.y1, s.x2, s.y2, s.colour);
    }

private:
    struct Stroke {
        float x1, y1, x2, y2;
        Rgb colour;
    };
    PixelSize pixels_;
    std::vector<Stroke> lines_;
};

struct Trace {
    std::span<const double> signal;
    std::int32_t n;
    double kt, signalPeak;

    std::optional<PlotPoint> Point(std::int64_t i) const
    {
        return ToPlotPoint(SampleX(i, n, kt), SampleY(signal[static_cast<std::size_t>(i)], signalPeak));
    }
    void Add(TraceColumnMerger& merger, std::int64_t first, std::int64_t last) const
    {
        merger.AddEach(first, last, [this](std::int64_t i) { return Point(i); });
    }
};

// Samples in one part of a long trace, and the fewest worth sharing out:
// small enough that a trace of 10^6 samples, a tenth of such a press in a
// browser, is shared out too.
constexpr std::int64_t kTracePart = std::int64_t{1} << 18;

// The first sample in from..limit-1 that leaves the pixel column of the one
// before it, both being points: a merger fed the sample before it and then
// the rest draws from there on what one fed every sample draws, since the one
// fed every sample ends its column there and joins the two. -1 when none does.
std::int64_t ColumnStart(const Trace& trace, const PixelGrid& grid, std::int64_t from, std::int64_t limit)
{
    std::optional<PlotPoint> before = trace.Point(from - 1);
    for (std::int64_t i = from; i < limit; ++i) {
        const std::optional<PlotPoint> point = trace.Point(i);
        if (before && point && FloorOf(grid.ToDevice(*before).x) != FloorOf(grid.ToDevice(*point).x)) return i;
        before = point;
    }
    return -1;
}

}  // namespace

void DrawWaveformTrace(Canvas& canvas, std::span<const double> signal, std::int32_t n, double kt, double signalPeak,
                       const PartRunner& runParts)
{
    if (n <= 0 || signal.empty()) {
        return;
    }
    // Never read past the buffer, whatever n claims.
    const auto last = std::min<std::int64_t>(n, static_cast<std::int64_t>(signal.size()) - 1);
    const Trace trace{signal, n, kt, signalPeak};
    const PixelGrid grid(canvas.Pixels());
    if (!runParts || !grid.Merging() || last < 2 * kTracePart) {
        TraceColumnMerger merger(canvas, Black);
        trace.Add(merger, 0, last);
        merger.Finish();
        return;
    }
    std::vector<std::int64_t> starts = {0};
    for (std::int64_t nominal = kTracePart; nominal <= last; nominal += kTracePart) {
        const std::int64_t from = std::max(nominal, starts.back() + 1);
        const std::int64_t start = ColumnStart(trace, grid, from, std::min(nominal + kTracePart, last + 1));
        if (start > 0) starts.push_back(start);
    }
    std::vector<LineRecorder> parts(starts.size(), LineRecorder(canvas.Pixels()));
    runParts(parts.size(), [&](std::size_t p) {
        TraceColumnMerger merger(parts[p], Black);
        const std::int64_t end = p + 1 < starts.size() ? starts[p + 1] - 1 : last;
        trace.Add(merger, p == 0 ? 0 : starts[p] - 1, end);
        merger.Finish();
    });
    for (const LineRecorder& part : parts) part.DrawOn(canvas);
}

void DrawSpectrumLines(Canvas& canvas, std::span<const double> spectrum, std::int32_t n, double freqScale,
                       double spectrumPeak, std::int32_t lastBin)
{
    if (n <= 0 || spectrum.empty()) {
        return;
    }
    // Never read past the buffer, whatever lastBin claims.
    auto last = std::min<std::int64_t>(lastBin, static_cast<std::int64_t>(spectrum.size()) - 1);
    // x moves by the same step with every bin, so past the guard box on either
    // side no later bin can come back into view. With the default AM entries
    // that is after a few hundred bins, whatever N: stop there rather than map
    // half a million lines that would all be dropped.
    const double step = std::fabs(BinX(1, n, freqScale));
    if (std::isfinite(step) && step > 0.0) {
        const double reach = std::max(std::fabs(GuardBox.left), std::fabs(GuardBox.right)) / step;
        // One bin of margin past the reach for rounding in BinX, but never past lastBin.
        if (reach < static_cast<double>(last)) last = std::min(last, static_cast<std::int64_t>(reach) + 2);
    }
    StemColumnMerger lines(canvas, Red);
    for (std::int64_t k = 1; k <= last; ++k) {
        const auto x = ToPlotFloat(BinX(k, n, freqScale));
        const auto height = ToPlotFloat(BinHeight(spectrum[static_cast<std::size_t>(k)], spectrumPeak));
        if (x && height) {
            lines.Add(*x, *height);
        }
    }
    lines.Finish();
}

void DrawZeroAxis(Canvas& canvas)
{
    canvas.Line(0.0F, 50.0F, 100.0F, 50.0F, Black);
}

}  // namespace trelvano::plot
