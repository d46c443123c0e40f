#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/AllocateSampleBuffers.h"
#include "engine/state/AnalysisState.h"
#include "engine/core/RuntimeFault.h"
#include "engine/signal/Spectrum.h"
#include "engine/signal/Synthesis.h"

namespace trelvano::enginetest {

// The input panel's starting entries as the intake stores them.
inline AnalysisState DefaultState(std::int32_t n = 1000)
{
    AnalysisState state;
    state.params = {
        .Vp = 25.0, .mAM = 0.5, .mf = 4.05, .fp = 30000.0, .fm = 3000.0, .W = 0.002, .MessageText = "", .N = n};
    return state;
}

inline void Synthesise(AnalysisState& state, std::string_view modulation, bool transform = false)
{
    AllocateSampleBuffers(state);
    SynthesiseWaveforms(state);
    SelectSignal(state, modulation);
    if (transform) ComputeSpectrum(state);
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
