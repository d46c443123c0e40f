#pragma once

#include <cstdint>
#include <functional>

#include "engine/state/AnalysisState.h"

namespace trelvano {

// Re-creates the six buffers for params.N, every element 0.0, in the order
// Signal, SpecRe, SpecIm, Spectrum, AmWave, AngleWave. Raises Overflow when
// N + 1 leaves the 32-bit range and OutOfMemory when the buffers (and the FFT's
// scratch) would not fit in the memory the machine can give.
//
// Where new storage must be cleared (WebAssembly's heap) the pool's threads
// clear it in parts while `alongside`, when given, runs on the calling thread;
// returns whether it ran. Nothing is read from the buffers meanwhile.
bool AllocateSampleBuffers(AnalysisState& state, const std::function<void()>& alongside = nullptr);

// Bytes a run at params.N takes beyond what the state holds now: the six
// buffers and FFTW's peak. AllocateSampleBuffers refuses the run unless they
// fit; raises Overflow as it does.
std::int64_t MemoryForRun(const AnalysisState& state);

}  // namespace trelvano
