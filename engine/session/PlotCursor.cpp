#include "engine/session/PlotCursor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

#include "engine/CursorReadout.h"
#include "plot/PlotMapping.h"

namespace trelvano {

namespace {

CursorPlace At(const ResultWindow& window, double x, double y)
{
    const plot::PlotCorners& c = window.Corners();
    const plot::PixelSize layout = window.LayoutSize();
    return {x, y, (x - c.x1) * layout.width / (c.x2 - c.x1), (y - c.y1) * layout.height / (c.y2 - c.y1)};
}

bool IsWaveform(const ResultWindow& window)
{
    return &window.form() == &kForm2;
}

// The trace as drawn, at a column's left edge, where the pointer reads: on the
// sample nearest it when samples lie closer than a column, so the readout
// gives that sample's time and value; else on the segment drawn through it.
CursorPlace OnTrace(const ResultWindow& window, const AnalysisState& state, int column)
{
    const plot::PlotCorners& c = window.Corners();
    const double width = (c.x2 - c.x1) / window.LayoutSize().width;
    const double edge = c.x1 + column * width;
    if (!window.drawn || window.drawn->n <= 0) return At(window, edge, 50.0);
    const DrawnRun& run = *window.drawn;
    const std::span<const double> signal = state.buffers.Signal.range(0, run.n);
    const auto sampleAt = [&](std::int64_t i) {
        return At(window, plot::SampleX(i, run.n, run.kt),
                  plot::SampleY(signal[static_cast<std::size_t>(i)], run.signalPeak));
    };
    if (!(run.kt > 0.0)) return sampleAt(0);
    const double index = edge * run.n / (100.0 * run.kt);
    const auto nearest = static_cast<std::int64_t>(std::clamp(std::round(index), 0.0, static_cast<double>(run.n)));
    const CursorPlace sample = sampleAt(nearest);
    if (std::fabs(sample.x - edge) <= width / 2.0) return sample;
    const auto before = static_cast<std::int64_t>(std::clamp(std::floor(index), 0.0, run.n - 1.0));
    const CursorPlace a = sampleAt(before);
    const CursorPlace b = sampleAt(before + 1);
    return At(window, edge, a.y + (b.y - a.y) * (edge - a.x) / (b.x - a.x));
}

// The last column the trace reaches: sample N stands at x = 100·Kt.
int LastTraceColumn(const ResultWindow& window)
{
    const int last = window.LayoutSize().width - 1;
    if (!window.drawn || window.drawn->n <= 0) return last;
    const double end = At(window, plot::SampleX(window.drawn->n, window.drawn->n, window.drawn->kt), 0.0).px;
    return std::isfinite(end) ? static_cast<int>(std::clamp(std::floor(end), 0.0, static_cast<double>(last))) : last;
}

CursorPlace StepTrace(const ResultWindow& window, const AnalysisState& state, std::optional<CursorPlace> from,
                      CursorKey key)
{
    const int last = LastTraceColumn(window);
    int column = 0;
    if (from && (key == CursorKey::Next || key == CursorKey::Previous)) {
        column = static_cast<int>(std::floor(from->px)) + (key == CursorKey::Next ? 1 : -1);
    }
    if (key == CursorKey::Last || column > last) {
        // The trace's end is its last sample when that lies in view.
        if (window.drawn && window.drawn->n > 0 && window.drawn->kt > 0.0) {
            const DrawnRun& run = *window.drawn;
            const CursorPlace end = At(window, plot::SampleX(run.n, run.n, run.kt),
                                       plot::SampleY(state.buffers.Signal.at(run.n), run.signalPeak));
            if (end.px < window.LayoutSize().width) return end;
        }
        column = last;
    }
    return OnTrace(window, state, std::clamp(column, 0, last));
}

// The image column of a place, in device pixels.
std::int64_t DeviceColumn(const ResultWindow& window, const CursorPlace& place)
{
    return static_cast<std::int64_t>(std::floor(place.px * window.Ratio()));
}

CursorPlace StepLines(const ResultWindow& window, const AnalysisState& state, std::optional<CursorPlace> from,
                      CursorKey key)
{
    const std::vector<CursorPlace> lines = VisibleLines(window, state);
    if (lines.empty()) return from.value_or(PlaceAtPixel(window, 0.0, window.LayoutSize().height));
    if (key == CursorKey::Last) return lines.back();
    if (!from || key == CursorKey::First) return lines.front();
    const std::int64_t at = DeviceColumn(window, *from);
    if (key == CursorKey::Next) {
        const auto next = std::find_if(lines.begin(), lines.end(),
                                       [&](const CursorPlace& line) { return DeviceColumn(window, line) > at; });
        return next == lines.end() ? lines.back() : *next;
    }
    const auto previous = std::find_if(lines.rbegin(), lines.rend(),
                                       [&](const CursorPlace& line) { return DeviceColumn(window, line) < at; });
    return previous == lines.rend() ? lines.front() : *previous;
}

}  // namespace

CursorPlace PlaceAtPixel(const ResultWindow& window, double px, double py)
{
    const plot::PlotPoint at = PointerToPlot(px, py, window.LayoutSize(), window.Corners());
    return {at.x, at.y, px, py};
}

CursorPlace MoveCursor(const ResultWindow& window, const AnalysisState& state, std::optional<CursorPlace> from,
                       CursorKey key)
{
    const plot::PixelSize layout = window.LayoutSize();
    const auto free = [&](double dx, double dy) {
        const CursorPlace start = from.value_or(PlaceAtPixel(window, 0.0, 0.0));
        return PlaceAtPixel(window, std::clamp(start.px + dx, 0.0, layout.width - 1.0),
                            std::clamp(start.py + dy, 0.0, layout.height - 1.0));
    };
    switch (key) {
    case CursorKey::Left:
        return free(-1.0, 0.0);
    case CursorKey::Right:
        return free(1.0, 0.0);
    case CursorKey::Up:
        return free(0.0, -1.0);
    case CursorKey::Down:
        return free(0.0, 1.0);
    default:
        return IsWaveform(window) ? StepTrace(window, state, from, key) : StepLines(window, state, from, key);
    }
}

std::vector<CursorPlace> VisibleLines(const ResultWindow& window, const AnalysisState& state)
{
    std::vector<CursorPlace> lines;
    if (!window.drawn || window.drawn->n <= 0) return lines;
    const DrawnRun& run = *window.drawn;
    const plot::RasterCanvas& image = window.Image();
    const plot::PixelSize pixels = image.Pixels();
    // The columns holding a red pixel, read row by row as the image lies in memory.
    const auto width = static_cast<std::size_t>(pixels.width);
    std::vector<char> lit(width, 0);
    const std::span<const std::uint8_t> rgba = image.Rgba();
    for (std::size_t row = 0; width > 0 && row + width * 4 <= rgba.size(); row += width * 4) {
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t* pixel = rgba.data() + row + x * 4;
            lit[x] |= static_cast<char>(pixel[0] == plot::Red.r && pixel[1] == plot::Red.g && pixel[2] == plot::Red.b);
        }
    }
    const std::span<const double> spectrum = state.buffers.Spectrum.range(0, run.lastBin);
    std::vector<std::int64_t> tallest(lit.size(), 0);
    for (std::int64_t k = 1; k <= run.lastBin; ++k) {
        const std::int64_t column = image.ColumnOf(static_cast<float>(plot::BinX(k, run.n, run.freqScale)));
        // Bins run left to right: past the image none comes back.
        if (column >= pixels.width) break;
        if (column < 0 || !lit[static_cast<std::size_t>(column)]) continue;
        std::int64_t& best = tallest[static_cast<std::size_t>(column)];
        if (best == 0 || spectrum[static_cast<std::size_t>(k)] > spectrum[static_cast<std::size_t>(best)]) best = k;
    }
    for (const std::int64_t k : tallest) {
        if (k == 0) continue;
        lines.push_back(At(window, plot::BinX(k, run.n, run.freqScale),
                           plot::BinHeight(spectrum[static_cast<std::size_t>(k)], run.spectrumPeak)));
    }
    return lines;
}

std::optional<CursorPlace> FirstPeakSample(const ResultWindow& window, const AnalysisState& state)
{
    if (!window.drawn || window.drawn->n <= 0) return std::nullopt;
    const DrawnRun& run = *window.drawn;
    const std::span<const double> signal = state.buffers.Signal.range(0, run.n);
    const auto peak =
        std::find_if(signal.begin(), signal.end(), [&](double v) { return std::fabs(v) == run.signalPeak; });
    const auto i = peak == signal.end() ? 0 : peak - signal.begin();
    return At(window, plot::SampleX(i, run.n, run.kt),
              plot::SampleY(signal[static_cast<std::size_t>(i)], run.signalPeak));
}

}  // namespace trelvano
