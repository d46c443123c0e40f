#include <algorithm>

#include "ColumnMerger.h"
#include "PlotMapping.h"
#include "PlotPasses.h"

namespace trelvano::plot {

void DrawSpectrumLines(Canvas& canvas, std::span<const double> spectrum, std::int32_t n, double freqScale,
                       double spectrumPeak, std::int32_t lastBin)
{
    if (n <= 0 || spectrum.empty()) {
        return;
    }
    // Never read past the buffer, whatever lastBin claims.
    const auto last = std::min<std::int64_t>(lastBin, static_cast<std::int64_t>(spectrum.size()) - 1);
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

}  // namespace trelvano::plot
