#include "engine/AllocateSampleBuffers.h"
#include "engine/AnalysisRun.h"
#include "engine/PlotDrawing.h"

#include "engine/signal/Peaks.h"
#include "engine/signal/Spectrum.h"
#include "engine/signal/Synthesis.h"
#include "engine/signal/VectorState.h"

namespace trelvano {

void RunAnalysis(AnalysisState& state, RunHost& host)
{
    // The window comes up first, so that a fault further on is seen against it.
    host.ShowWaveformWindow();
    host.SpectrumPlot().Scale(plot::kPlotCorners);
    host.WaveformPlot().Scale(plot::kPlotCorners);
    // The toolkit's code leaves the vector unit's upper state dirty, which
    // slows every SSE instruction after it several times over; the drawing
    // canvas clears it after itself.
    ClearUpperVectorState();

    // The transform is planned on this thread while the others clear the
    // buffers' fresh storage or, when it needs no clearing, make the samples:
    // planning a large N takes about as long as either.
    const auto plan = [&state] { PrepareSpectrum(state); };
    const bool planned = AllocateSampleBuffers(state, plan);
    SynthesiseWaveforms(state, planned ? std::function<void()>() : plan);
    // Both peaks are gathered while the values are written, instead of in a
    // second pass over both buffers; they take effect only here, after
    // the spectrum, so that a fault before leaves the last run's peaks.
    PeakScan copied;
    PeakScan magnitudes;
    SelectSignal(state, host.ModulationText(), &copied);
    ComputeSpectrum(state, &magnitudes);
    // Every plotted height is scaled by a peak: both are known before drawing.
    FindSignalPeak(state, copied);
    FindSpectrumPeak(state, magnitudes);

    const DrawnRun drawn = DrawnFrom(state.params);
    DrawWaveformPlot(host.WaveformPlot(), state, drawn);
    DrawSpectrumPlot(host.SpectrumPlot(), state, drawn);
}

void GraficiAction(AnalysisState& state, const EntryTexts& entries, MessageSink& messages, RunHost& host)
{
    if (ValidateEntries(state.params, entries, messages) == ValidationResult::Stopped) return;
    host.WaveformPlot().Blank();
    host.SpectrumPlot().Blank();
    RunAnalysis(state, host);
}

}  // namespace trelvano
