#include "PlotPasses.h"

#include <algorithm>
#include <cmath>

#include "ClipSegment.h"
#include "PlotMapping.h"
#include "StemColumnMerger.h"
#include "TraceColumnMerger.h"

namespace trelvano::plot {

void DrawWaveformTrace(Canvas& canvas, std::span<const double> signal, std::int32_t n, double kt, double signalPeak)
{
    if (n <= 0 || signal.empty()) {
        return;
    }
    // Never read past the buffer, whatever n claims.
    const auto last = std::min<std::int64_t>(n, static_cast<std::int64_t>(signal.size()) - 1);
    TraceColumnMerger trace(canvas, Black);
    for (std::int64_t i = 0; i <= last; ++i) {
        const double value = signal[static_cast<std::size_t>(i)];
        trace.Add(ToPlotPoint(SampleX(i, n, kt), SampleY(value, signalPeak)));
    }
    trace.Finish();
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
