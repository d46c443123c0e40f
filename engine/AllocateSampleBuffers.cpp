#include <algorithm>

#include "engine/AllocateSampleBuffers.h"
#include "engine/state/AnalysisState.h"
#include "engine/core/CheckedInt.h"
#include "engine/memory/MemoryBudget.h"
#include "engine/signal/FftPlanCache.h"

namespace trelvano {

namespace {

// Elements for an upper bound of N + 1: N + 2, none when the bound is negative.
std::int64_t ElementCount(std::int32_t upperBound)
{
    return std::max<std::int64_t>(std::int64_t{upperBound} + 1, 0);
}

}  // namespace

std::int64_t MemoryForRun(const AnalysisState& state)
{
    const std::int32_t n = state.params.N;
    const std::int64_t count = ElementCount(CheckedAdd(n, 1));
    std::int64_t extra = 0;
    for (const CheckedArray& buffer : state.buffers.inAllocationOrder()) {
        extra += std::max<std::int64_t>(buffer.extraBytesFor(count), 0);
    }
    if (n >= 1) {
        // A kept plan of this size needs only its execution's scratch; one of
        // another size is dropped, and what it kept is free again.
        const FftPlanCache* plans = state.fft.get();
        const int threads = FftThreadsFor(state, n);
        const bool reused = plans != nullptr && plans->holds(n, threads);
        const std::int64_t kept = plans == nullptr ? 0 : reused ? FftPlan::heldBytes(n) : plans->heldBytes();
        extra += FftPlan::peakBytes(n, threads) - kept;
    }
    return extra;
}

void AllocateSampleBuffers(AnalysisState& state)
{
    const std::int32_t n = state.params.N;
    // The pool's threads, and their stacks, exist before the memory is read:
    // in WebAssembly the stacks come out of the same heap as the buffers.
    static_cast<void>(state.pool());
    // Everything is checked before the first buffer is touched, so a refused
    // run leaves the last run's buffers as they were.
    RequireMemory(MemoryForRun(state));

    // A plan for another size is of no further use; its memory was counted
    // as available above.
    if (state.fft && !state.fft->holds(n, FftThreadsFor(state, n))) state.fft->release();

    const std::int64_t count = ElementCount(CheckedAdd(n, 1));
    // Storage that is not kept is all given back before any is made: where
    // the heap never returns memory to the system (WebAssembly's), the freed
    // blocks then join into one stretch the new ones fill, rather than leave
    // holes each too small for the next buffer while the heap grows past them.
    for (CheckedArray& buffer : state.buffers.inAllocationOrder()) {
        if (!buffer.keepsStorageFor(count)) buffer.release();
    }
    for (CheckedArray& buffer : state.buffers.inAllocationOrder()) buffer.recreate(count, &state.pool());
}

}  // namespace trelvano
