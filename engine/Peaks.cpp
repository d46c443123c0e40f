#include "Peaks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "CheckedInt.h"

namespace trelvano {

namespace {

// Raises `peak` to the largest |values[0..last]|. `last` is clamped to the
// array: after a rejected press N may describe arrays of another run.
// `counter` ends one past the last index scanned.
void ScanPeak(const CheckedArray& values, std::int32_t last, double& peak, std::int32_t& counter)
{
    counter = 0;
    if (last < 0) return;
    const std::int64_t end = std::min<std::int64_t>(last, values.size() - 1);
    const std::span<const double> scanned = values.range(0, end);
    for (std::size_t i = 0; i < scanned.size(); ++i) {
        const double magnitude = std::fabs(scanned[i]);
        if (!std::isfinite(magnitude)) {
            counter = static_cast<std::int32_t>(i);
            throw RuntimeFault(FaultKind::FloatingPoint);
        }
        if (magnitude >= peak) peak = magnitude;
    }
    counter = static_cast<std::int32_t>(std::min<std::int64_t>(end + 1, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void FindSignalPeak(AnalysisState& state)
{
    AnalysisParameters& p = state.params;
    // Element 0 is read even when nothing else will be: with no buffers, or a
    // negative N, this is where the run stops.
    p.SignalPeak = state.buffers.Signal.at(0);
    ScanPeak(state.buffers.Signal, p.N, p.SignalPeak, p.SampleIndex);
}

void FindSpectrumPeak(AnalysisState& state)
{
    AnalysisParameters& p = state.params;
    p.SpectrumPeak = state.buffers.Spectrum.at(0);
    ScanPeak(state.buffers.Spectrum, CheckedSub(p.N, 1), p.SpectrumPeak, p.BinIndex);
}

}  // namespace trelvano
