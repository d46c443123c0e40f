#include "AnalysisRun.h"

#include "Peaks.h"
#include "Spectrum.h"
#include "Synthesis.h"
#include "plot/PlotPasses.h"

namespace trelvano {

void RunAnalysis(AnalysisState& state, RunHost& host)
{
    // The window comes up first, so that a fault further on is seen against it.
    host.ShowWaveformWindow();
    host.SpectrumPlot().Scale(0, 100, 100, 0);
    host.WaveformPlot().Scale(0, 100, 100, 0);

    AllocateSampleBuffers(state);
    SynthesiseWaveforms(state);
    SelectSignal(state, host.ModulationText());
    ComputeSpectrum(state);
    // Every plotted height is scaled by a peak: both are known before drawing.
    FindSignalPeak(state);
    FindSpectrumPeak(state);

    const AnalysisParameters& p = state.params;
    SampleBuffers& b = state.buffers;
    const std::int32_t lastBin = LastBinFor(p.N);
    // Spans taken through range() fault on a bad extent instead of reading past the end.
    plot::DrawWaveformTrace(host.WaveformPlot(), b.Signal.range(0, p.N), p.N, p.Kt, p.SignalPeak);
    plot::DrawSpectrumLines(host.SpectrumPlot(), b.Spectrum.range(0, lastBin), p.N, p.FreqScale, p.SpectrumPeak,
                            lastBin);
    plot::DrawZeroAxis(host.WaveformPlot());
}

void GraficiAction(AnalysisState& state, const EntryTexts& entries, MessageSink& messages, RunHost& host)
{
    if (ValidateEntries(state.params, entries, messages) == ValidationResult::Stopped) return;
    host.WaveformPlot().Blank();
    host.SpectrumPlot().Blank();
    RunAnalysis(state, host);
}

}  // namespace trelvano
