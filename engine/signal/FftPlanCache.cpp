#include "engine/signal/FftPlanCache.h"

namespace trelvano {

FftPlan& FftPlanCache::planFor(std::int32_t n, int threads, std::span<double> in, std::span<double> out)
{
    if (!holds(n, threads) || !plan_->fits(in, out)) {
        // The old plan goes first, so the two never take memory at once.
        plan_.reset();
        plan_.emplace(n, threads, in, out);
    }
    return *plan_;
}

FftPlanCache& PlanCacheOf(AnalysisState& state)
{
    if (!state.fft) {
        state.fft = {new FftPlanCache, [](FftPlanCache* cache) { delete cache; }};
    }
    return *state.fft;
}

int FftThreadsFor(const AnalysisState& state, std::int32_t n)
{
    return n < 1 || static_cast<std::size_t>(n) < WorkerPool::kSharedFrom ? 1 : state.pool().threads();
}

}  // namespace trelvano
