#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/AnalysisState.h"
#include "engine/RuntimeFault.h"
#include "engine/Spectrum.h"
#include "engine/Synthesis.h"

namespace trelvano::enginetest {

// The input panel's starting entries as the intake stores them: Vp 25 V, mAM 0.5,
// mf 4.05, fp 30 kHz, fm 3 kHz, W 2 ms; N as given.
inline AnalysisState DefaultState(std::int32_t n = 1000)
{
    AnalysisState state;
    AnalysisParameters& p = state.params;
    p.Vp = 25.0;
    p.mAM = 0.5;
    p.mf = 4.05;
    p.fp = 30000.0;
    p.fm = 3000.0;
    p.W = 0.002;
    p.N = n;
    return state;
}

inline void SynthesiseAndSelect(AnalysisState& state, std::string_view modulation)
{
    AllocateSampleBuffers(state);
    SynthesiseWaveforms(state);
    SelectSignal(state, modulation);
}

inline void RunToSpectrum(AnalysisState& state, std::string_view modulation)
{
    SynthesiseAndSelect(state, modulation);
    ComputeSpectrum(state);
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
