#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

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

// Clears the stretches in parts of the pool's size, handed out in turn, so
// that whichever thread is free takes the next: `alongside` holds the calling
// thread for a while first.
void ClearBeside(WorkerPool& pool, const std::vector<std::span<double>>& stretches,
                 const std::function<void()>& alongside)
{
    std::vector<std::span<double>> parts;
    for (const std::span<double> stretch : stretches) {
        for (std::size_t at = 0; at < stretch.size(); at += WorkerPool::kLargePart) {
            parts.push_back(stretch.subspan(at, std::min(WorkerPool::kLargePart, stretch.size() - at)));
        }
    }
    pool.run(
        parts.size(), [&parts](std::size_t part) { std::memset(parts[part].data(), 0, parts[part].size_bytes()); },
        alongside);
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

bool AllocateSampleBuffers(AnalysisState& state, const std::function<void()>& alongside)
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
    // Fresh storage is cleared once all of it is made, in one loop: its first
    // touch, the larger cost in a browser, can then share the pool with the
    // caller's work rather than wait for it.
    std::vector<std::span<double>> fresh;
    for (CheckedArray& buffer : state.buffers.inAllocationOrder()) {
        const std::span<double> uncleared = buffer.recreate(count, &state.pool());
        if (!uncleared.empty()) fresh.push_back(uncleared);
    }
    if (fresh.empty()) return false;
    ClearBeside(state.pool(), fresh, alongside);
    return static_cast<bool>(alongside);
}

}  // namespace trelvano
