#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/AllocateSampleBuffers.h"
#include "engine/state/AnalysisState.h"
#include "engine/signal/Spectrum.h"
#include "engine/signal/Synthesis.h"
#include "ThreeCosines.h"
#include "tests/support/Entries.h"

namespace {

using trelvano::AnalysisState;

// The initial entries as held; their 2 ms window keeps fp = 30 kHz within
// N/(4W) for every size measured here (N >= 240).
AnalysisState DefaultState(std::int64_t n)
{
    AnalysisState state = trelvano::support::DefaultState(static_cast<std::int32_t>(n));
    trelvano::AllocateSampleBuffers(state);
    return state;
}

void Synthesis(benchmark::State& bench)
{
    AnalysisState state = DefaultState(bench.range(0));
    for (auto _ : bench) {
        trelvano::SynthesiseWaveforms(state);
        benchmark::DoNotOptimize(state.buffers.AngleWave.all().data());
        benchmark::ClobberMemory();
    }
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}

void Spectrum(benchmark::State& bench)
{
    AnalysisState state = DefaultState(bench.range(0));
    trelvano::SynthesiseWaveforms(state);
    trelvano::SelectSignal(state, "FM");
    trelvano::ComputeSpectrum(state);  // plans once, as the first run of a size does
    for (auto _ : bench) {
        trelvano::ComputeSpectrum(state);
        benchmark::DoNotOptimize(state.buffers.Spectrum.all().data());
        benchmark::ClobberMemory();
    }
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}

// The floor synthesis cannot beat: three cosines per sample, stored.
void ThreeCosines(benchmark::State& bench)
{
    const auto n = static_cast<std::size_t>(bench.range(0));
    std::vector<double> first(n);
    std::vector<double> second(n);
    for (auto _ : bench) {
        trelvano::bench::ThreeCosines(first, second);
        benchmark::DoNotOptimize(first.data());
        benchmark::DoNotOptimize(second.data());
        benchmark::ClobberMemory();
    }
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}

// Both steps of one run timed side by side; the counter is the share of the
// spectrum relative to synthesis, which the FFT keeps below 1.
void SpectrumOverSynthesis(benchmark::State& bench)
{
    AnalysisState state = DefaultState(bench.range(0));
    trelvano::SynthesiseWaveforms(state);
    trelvano::SelectSignal(state, "AM");
    trelvano::ComputeSpectrum(state);
    using Clock = std::chrono::steady_clock;
    Clock::duration synthesis{};
    Clock::duration spectrum{};
    for (auto _ : bench) {
        const auto t0 = Clock::now();
        trelvano::SynthesiseWaveforms(state);
        const auto t1 = Clock::now();
        trelvano::SelectSignal(state, "AM");
        const auto selected = Clock::now();
        trelvano::ComputeSpectrum(state);
        const auto t2 = Clock::now();
        synthesis += t1 - t0;
        spectrum += t2 - selected;
        benchmark::DoNotOptimize(state.buffers.Spectrum.all().data());
    }
    const auto ms = [&bench](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count() / static_cast<double>(bench.iterations());
    };
    bench.counters["synthesis_ms"] = ms(synthesis);
    bench.counters["spectrum_ms"] = ms(spectrum);
    bench.counters["spectrum/synthesis"] = ms(spectrum) / ms(synthesis);
}

}  // namespace

BENCHMARK(Synthesis)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Spectrum)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(ThreeCosines)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(SpectrumOverSynthesis)->Arg(1000000)->Unit(benchmark::kMillisecond);
