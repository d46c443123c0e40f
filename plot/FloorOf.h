#pragma once

#include <cmath>
#include <cstdint>

namespace trelvano::plot {

// floor(v), without the library call that a plain x86-64 build makes of
// std::floor.
inline double FloorOf(double v)
{
    if (!(std::fabs(v) < 4.0e15)) {
        return std::floor(v);  // already whole, or not a number at all
    }
    const auto whole = static_cast<double>(static_cast<std::int64_t>(v));
    return whole > v ? whole - 1.0 : whole;
}

}  // namespace trelvano::plot
