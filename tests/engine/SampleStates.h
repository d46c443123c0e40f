#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string_view>

#include "engine/AnalysisState.h"
#include "engine/RuntimeFault.h"
#include "engine/Spectrum.h"
#include "engine/Synthesis.h"

namespace trelvano::enginetest {

// The entries the input panel starts with, as the intake stores them:
// Vp 25 V, mAM 0.5, mf 4.05, fp 30 kHz, fm 3 kHz, W 2 ms, N 1000.
inline AnalysisParameters DefaultParameters()
{
    AnalysisParameters p;
    p.Vp = 25.0;
    p.mAM = 0.5;
    p.mf = 4.05;
    p.fp = 30000.0;
    p.fm = 3000.0;
    p.W = 0.002;
    p.N = 1000;
    return p;
}

// Allocation, synthesis and selection, as a run does them before the spectrum.
inline void SynthesiseAndSelect(AnalysisState& state, std::string_view modulation)
{
    AllocateSampleBuffers(state);
    SynthesiseWaveforms(state);
    SelectSignal(state, modulation);
}

// The steps of a run up to the spectrum.
inline void RunToSpectrum(AnalysisState& state, std::string_view modulation)
{
    SynthesiseAndSelect(state, modulation);
    ComputeSpectrum(state);
}

// Buffers for `n` samples with Signal[0..n-1] uniformly random in ±amplitude.
inline void FillRandomSignal(AnalysisState& state, std::int32_t n, std::uint32_t seed, double amplitude)
{
    state.params.N = n;
    AllocateSampleBuffers(state);
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> sample(-amplitude, amplitude);
    for (std::int32_t i = 0; i < n; ++i) state.buffers.Signal.at(i) = sample(generator);
}

// The kind of fault `action` raises, or nothing when it completes.
template <typename Action>
std::optional<FaultKind> FaultOf(Action&& action)
{
    try {
        action();
    } catch (const RuntimeFault& fault) {
        return fault.kind();
    }
    return std::nullopt;
}

}  // namespace trelvano::enginetest
