#pragma once

#include <string_view>

#include "engine/AllocateSampleBuffers.h"
#include "engine/state/AnalysisState.h"
#include "engine/core/RuntimeFault.h"
#include "engine/signal/Spectrum.h"
#include "engine/signal/Synthesis.h"
#include "tests/support/Entries.h"

namespace trelvano::enginetest {

using support::DefaultState;
using support::FaultOf;

inline void Synthesise(AnalysisState& state, std::string_view modulation, bool transform = false)
{
    AllocateSampleBuffers(state);
    SynthesiseWaveforms(state);
    SelectSignal(state, modulation);
    if (transform) ComputeSpectrum(state);
}

}  // namespace trelvano::enginetest
