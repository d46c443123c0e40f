#include "engine/signal/Peaks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

#include "engine/core/CheckedInt.h"
#include "engine/signal/Spectrum.h"
#include "engine/signal/VectorPeak.h"

namespace trelvano {

namespace {

// Raises `peak` to the largest |values[0..last]|. `last` is clamped to the
// array: after a rejected press N may describe arrays of another run.
// `counter` ends one past the last index scanned, or on the value that is not finite.
void ScanPeak(WorkerPool& pool, const CheckedArray& values, std::int32_t last, double& peak, std::int32_t& counter)
{
    counter = 0;
    if (last < 0) return;
    const std::int64_t end = std::min<std::int64_t>(last, values.size() - 1);
    const std::span<const double> scanned = values.range(0, end);
    const PeakScan scan = ScanInPieces(
        pool, scanned.size(), [scanned](std::size_t first, std::size_t size) { return scanned.subspan(first, size); });
    SettlePeak(scan, peak, counter);
}

}  // namespace

void PeakScan::take(std::span<const double> values)
{
    const std::int64_t first = taken_;
    taken_ += static_cast<std::int64_t>(values.size());
    if (values.empty() || stop_) return;
    if (first == 0) peak_ = values[0];
    const double largest = LargestMagnitude(values, peak_);
    if (!std::isnan(largest)) {
        peak_ = largest;
        return;
    }
    // Rare: walk again one by one, to stop where the fault is with the peak so far.
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double magnitude = std::fabs(values[i]);
        if (!std::isfinite(magnitude)) {
            stop_ = first + static_cast<std::int64_t>(i);
            return;
        }
        if (magnitude >= peak_) peak_ = magnitude;
    }
}

void PeakScan::append(const PeakScan& later) noexcept
{
    taken_ = later.taken_;
    if (stop_) return;
    // A later part starts from 0.0, which no magnitude is below.
    if (later.peak_ >= peak_) peak_ = later.peak_;
    stop_ = later.stop_;
}

PeakScan ScanInPieces(WorkerPool& pool, std::size_t count,
                      const std::function<std::span<const double>(std::size_t, std::size_t)>& piece)
{
    std::vector<PeakScan> parts(WorkerPool::PartsFor(count));
    pool.forEachRange(count, [&](std::size_t begin, std::size_t size) {
        PeakScan& scan = parts[begin / std::max<std::size_t>(WorkerPool::PartSize(count), 1)];
        scan = PeakScan(static_cast<std::int64_t>(begin));
        // Pieces small enough to be scanned from the cache they were written to.
        constexpr std::size_t kPiece = 4096;
        for (std::size_t first = begin; first < begin + size; first += kPiece) {
            const std::size_t asked = std::min(kPiece, begin + size - first);
            const std::span<const double> values = piece(first, asked);
            scan.take(values);
            if (values.size() < asked) return;
        }
    });
    PeakScan all = parts.front();
    for (std::size_t p = 1; p < parts.size(); ++p) all.append(parts[p]);
    return all;
}

void SettlePeak(const PeakScan& scan, double& peak, std::int32_t& counter)
{
    peak = scan.peak_;
    if (scan.stop_) {
        counter = static_cast<std::int32_t>(*scan.stop_);
        throw RuntimeFault(FaultKind::FloatingPoint);
    }
    counter = static_cast<std::int32_t>(std::min<std::int64_t>(scan.taken_, std::numeric_limits<std::int32_t>::max()));
}

void FindSignalPeak(AnalysisState& state)
{
    AnalysisParameters& p = state.params;
    // Element 0 is read even when nothing else will be: with no buffers, or a
    // negative N, this is where the run stops.
    p.SignalPeak = state.buffers.Signal.at(0);
    ScanPeak(state.pool(), state.buffers.Signal, p.N, p.SignalPeak, p.SampleIndex);
}

void FindSpectrumPeak(AnalysisState& state)
{
    AnalysisParameters& p = state.params;
    p.SpectrumPeak = state.buffers.Spectrum.at(0);
    ScanPeak(state.pool(), state.buffers.Spectrum, CheckedSub(p.N, 1), p.SpectrumPeak, p.BinIndex);
}

void FindSignalPeak(AnalysisState& state, const PeakScan& copied)
{
    AnalysisParameters& p = state.params;
    const std::int64_t covered = std::int64_t{p.N} + 1;
    if (p.N < 0 || copied.taken() != covered || state.buffers.Signal.size() < covered) return FindSignalPeak(state);
    SettlePeak(copied, p.SignalPeak, p.SampleIndex);
}

void FindSpectrumPeak(AnalysisState& state, const PeakScan& magnitudes)
{
    AnalysisParameters& p = state.params;
    if (p.N < 1 || magnitudes.taken() != std::int64_t{LastBinFor(p.N)} + 1 || state.buffers.Spectrum.size() < p.N) {
        return FindSpectrumPeak(state);
    }
    // The zeros above LastBin can only repeat a peak that is already at least 0.0.
    SettlePeak(magnitudes, p.SpectrumPeak, p.BinIndex);
    p.BinIndex = p.N;
}

}  // namespace trelvano
