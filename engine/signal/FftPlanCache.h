#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "engine/signal/FftPlan.h"
#include "engine/state/AnalysisState.h"

namespace trelvano {

// Keeps the plan of the last size used: runs usually repeat the same N, and
// planning costs more than a transform.
class FftPlanCache {
public:
    // A plan for size n >= 1 and `threads` threads that fits these arrays,
    // made anew when the kept one does not. Raises RuntimeFault(OutOfMemory)
    // when it does not fit in memory.
    FftPlan& planFor(std::int32_t n, int threads, std::span<double> in, std::span<double> out);

    bool holds(std::int32_t n, int threads) const noexcept
    {
        return plan_.has_value() && plan_->size() == n && plan_->threads() == threads;
    }
    // Memory the kept plan takes, as FftPlan::heldBytes counts it.
    std::int64_t heldBytes() const noexcept { return plan_ ? FftPlan::heldBytes(plan_->size()) : 0; }
    void release() noexcept { plan_.reset(); }

private:
    std::optional<FftPlan> plan_;
};

// The cache `state` keeps, made empty on first use.
FftPlanCache& PlanCacheOf(AnalysisState& state);

// The threads a transform of size n takes in `state`: one for a small one,
// whose cost would not cover waking the others, else all of the pool's.
int FftThreadsFor(const AnalysisState& state, std::int32_t n);

}  // namespace trelvano
