#include "engine/PlotDrawing.h"

#include "engine/signal/Spectrum.h"
#include "plot/PlotPasses.h"

namespace trelvano {

DrawnRun DrawnFrom(const AnalysisParameters& params)
{
    return {params.N, params.Kt, params.SignalPeak, params.FreqScale, params.SpectrumPeak, LastBinFor(params.N)};
}

void DrawWaveformPlot(plot::Canvas& canvas, AnalysisState& state, const DrawnRun& run)
{
    // The trace's millions of samples are merged into columns on every thread;
    // the lines are drawn here, on this one, as the toolkit requires.
    const auto runParts = [&state](std::size_t parts, const std::function<void(std::size_t)>& part) {
        state.pool().run(parts, part);
    };
    // Spans taken through range() fault on a bad extent instead of reading past the end.
    plot::DrawWaveformTrace(canvas, state.buffers.Signal.range(0, run.n), run.n, run.kt, run.signalPeak, runParts);
    plot::DrawZeroAxis(canvas);
}

void DrawSpectrumPlot(plot::Canvas& canvas, const AnalysisState& state, const DrawnRun& run)
{
    plot::DrawSpectrumLines(canvas, state.buffers.Spectrum.range(0, run.lastBin), run.n, run.freqScale,
                            run.spectrumPeak, run.lastBin);
}

}  // namespace trelvano
