#pragma once

#include <cmath>
#include <vector>

namespace trelvano::plot::test {

// The default AM waveform (25 V at 30 kHz, index 0.5 at 3 kHz, over 2 ms). Its
// peak, 37.5 V, is sample 0; sample N is never synthesised and stays 0.
inline std::vector<double> AmSignal(int n)
{
    std::vector<double> signal(static_cast<std::size_t>(n) + 1, 0.0);
    for (std::size_t i = 0; i < signal.size() - 1; ++i) {
        const double t = 0.002 * static_cast<double>(i) / n;
        const double envelope = 25.0 * (1.0 + 0.5 * std::cos(6.28318530717958 * 3000.0 * t));
        signal[i] = envelope * std::cos(6.28318530717958 * 30000.0 * t);
    }
    return signal;
}

}  // namespace trelvano::plot::test
