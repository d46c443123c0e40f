#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "engine/state/AnalysisState.h"

namespace trelvano {

// What a peak scan from element 0 finds, gathered piece by piece while the
// values are being written, so that a run does not read a whole buffer of
// tens of megabytes a second time for its peak.
class PeakScan {
public:
    // A scan of the values from index `start` on; one from 0 takes its first
    // value, sign and all, as the starting peak.
    explicit PeakScan(std::int64_t start = 0) noexcept : taken_(start) {}

    // The values that follow those taken so far, in index order. Once a value
    // that is not finite has stopped the scan, later ones are only counted.
    void take(std::span<const double> values);
    // The scan of the values that follow, made apart: the same as taking them here.
    void append(const PeakScan& later) noexcept;
    // One past the last index taken.
    std::int64_t taken() const noexcept { return taken_; }

private:
    friend void SettlePeak(const PeakScan& scan, double& peak, std::int32_t& counter);

    double peak_ = 0.0;  // the first value as stored, then the largest magnitude so far
    std::int64_t taken_ = 0;
    std::optional<std::int64_t> stop_;  // index of the first value that is not finite
};

// Elements 0..count-1 in pieces, shared out over `pool`: piece(first, size)
// writes them if it has to and returns those of them to scan, which the scan
// reads while they are still in cache. A piece that returns fewer ends its
// part there, for a caller about to give up on the scan: what it left out is
// neither scanned nor asked for.
PeakScan ScanInPieces(WorkerPool& pool, std::size_t count,
                      const std::function<std::span<const double>(std::size_t, std::size_t)>& piece);

// SignalPeak = largest |Signal[i]|, i = 0..N. Raises IndexOutOfRange when
// Signal[0] does not exist (no run yet, or a negative N).
void FindSignalPeak(AnalysisState& state);

// SpectrumPeak = largest |Spectrum[k]|, k = 0..N-1 (bin 0 included).
void FindSpectrumPeak(AnalysisState& state);

// The same two, with everything either one sets, from scans made while the
// values were written: `copied` of Signal[0..N] and `magnitudes` of
// Spectrum[0..LastBin], the bins above LastBin being 0.0 as allocated. A scan
// that does not cover that range (nothing selected, N below 1 for the
// spectrum) falls back on reading the buffer.
void FindSignalPeak(AnalysisState& state, const PeakScan& copied);
void FindSpectrumPeak(AnalysisState& state, const PeakScan& magnitudes);

}  // namespace trelvano
