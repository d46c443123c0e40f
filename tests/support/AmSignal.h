#pragma once

#include <cmath>
#include <vector>

namespace trelvano::support {

// A plain AM test waveform (the initial entries) (25 V at 30 kHz, index 0.5 at 3 kHz, 2 ms): peak 37.5 V at sample 0; sample N stays 0.
inline std::vector<double> AmSignal(int n)
{
    std::vector<double> signal(static_cast<std::size_t>(n) + 1, 0.0);
    for (std::size_t i = 0; i + 1 < signal.size(); ++i) {
        const double t = 6.28318530717958 * 0.002 * static_cast<double>(i) / n;
        signal[i] = 25.0 * (1.0 + 0.5 * std::cos(3000.0 * t)) * std::cos(30000.0 * t);
    }
    return signal;
}

}  // namespace trelvano::support
