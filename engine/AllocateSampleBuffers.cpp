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

// Clears the stretches, running `alongside` on this thread meanwhile when
// given; returns whether it ran. Parts of the pool's size are handed out in
// turn, so that whichever thread is free takes the next.
bool ClearBeside(WorkerPool& pool, const std::vector<std::span<double>>& stretches,
                 const std::function<void()>& alongside)
{
    std::vector<std::span<double>> parts;
    std::size_t total = 0;
    for (const std::span<double> stretch : stretches) {
        total += stretch.size();
        for (std::size_t at = 0; at < stretch.size(); at += WorkerPool::kLargePart) {
            parts.push_back(stretch.subspan(at, std::min(WorkerPool::kLargePart, stretch.size() - at)));
        }
    }
    const auto clear = [&parts](std::size_t part) { std::memset(parts[part].data(), 0, parts[part].size_bytes()); };
    if (total < WorkerPool::kSharedFrom) {
        // Less than waking the threads costs.
        for (std::size_t part = 0; part < parts.size(); ++part) clear(part);
        return false;
    }
    pool.run(parts.size(), clear, alongside);
    return static_cast<bool>(alongside);
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
    try {
        for (CheckedArray& buffer : state.buffers.inAllocationOrder()) {
            const std::span<double> uncleared = buffer.recreate(count, &state.pool());
            if (!uncleared.empty()) fresh.push_back(uncleared);
        }
    } catch (...) {
        // A buffer the allocator refused leaves those made before it reading
        // 0.0, as they would have after the run.
        ClearBeside(state.pool(), fresh, nullptr);
        throw;
    }
    return ClearBeside(state.pool(), fresh, alongside);
}

}  // namespace trelvano
