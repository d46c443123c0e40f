#pragma once

#include <cstdint>
#include <optional>

#include "FftPlan.h"

namespace trelvano {

// Keeps the plan of the last size used: runs usually repeat the same N, and
// planning costs more than a transform.
class FftPlanCache {
public:
    // The plan for size n >= 1, made anew when n differs from the last one.
    // Raises RuntimeFault(OutOfMemory) when it does not fit.
    FftPlan& planFor(std::int32_t n);

    bool holds(std::int32_t n) const noexcept { return plan_.has_value() && plan_->size() == n; }
    // Memory the kept plan takes, as FftPlan::EstimatedBytes counts it.
    std::int64_t heldBytes() const noexcept;
    void release() noexcept { plan_.reset(); }

private:
    std::optional<FftPlan> plan_;
};

}  // namespace trelvano
