#include "FftPlanCache.h"

namespace trelvano {

FftPlan& FftPlanCache::planFor(std::int32_t n)
{
    if (!holds(n)) {
        // The old plan goes first, so the two never take memory at once.
        plan_.reset();
        plan_.emplace(n);
    }
    return *plan_;
}

std::int64_t FftPlanCache::heldBytes() const noexcept
{
    return plan_ ? FftPlan::EstimatedBytes(plan_->size()) : 0;
}

}  // namespace trelvano
