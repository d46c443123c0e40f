#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

namespace trelvano::bench {

// The floor a run cannot beat: three cosines per sample, stored. Every speed
// target is a ratio to this loop measured in the same run.
inline void ThreeCosines(std::vector<double>& first, std::vector<double>& second)
{
    const double step = 2e-6;
    for (std::size_t i = 0; i < first.size(); ++i) {
        const double x = static_cast<double>(i) * step;
        const double tone = std::cos(18849.5559215387 * x);
        first[i] = tone * std::cos(188495.559215387 * x);
        second[i] = std::cos(188495.559215387 * x + 4.05 * tone);
    }
}

}  // namespace trelvano::bench
