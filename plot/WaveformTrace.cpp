#include <algorithm>

#include "ColumnMerger.h"
#include "PlotMapping.h"
#include "PlotPasses.h"

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

}  // namespace trelvano::plot
