#include "engine/signal/FftPlanCache.h"

namespace trelvano {

FftPlan& FftPlanCache::planFor(std::int32_t n, std::span<double> in, std::span<double> re, std::span<double> im)
{
    if (!holds(n) || !plan_->fits(in, re, im)) {
        // The old plan goes first, so the two never take memory at once.
        plan_.reset();
        plan_.emplace(n, in, re, im);
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

}  // namespace trelvano
