#include "engine/signal/Spectrum.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <span>
#include <utility>

#include "engine/core/CheckedInt.h"
#include "engine/signal/FftPlanCache.h"
#include "engine/signal/Peaks.h"

namespace trelvano {

namespace {

[[noreturn]] void FailAt(AnalysisParameters& params, std::int32_t k)
{
    params.BinIndex = k;
    throw RuntimeFault(FaultKind::FloatingPoint);
}

// N below 1 leaves no samples to transform; the bins are walked with checked
// access so that N = -1 meets its mirror index -1 as an index fault.
void MirrorWithoutSamples(AnalysisState& state, std::int32_t lastBin)
{
    AnalysisParameters& p = state.params;
    SampleBuffers& b = state.buffers;
    for (std::int32_t k = 0; k <= lastBin; ++k) {
        p.BinIndex = k;
        b.SpecRe.at(k) = 0.0;
        b.SpecIm.at(k) = 0.0;
        const std::int32_t m = CheckedSub(p.N, k);
        b.SpecRe.at(m) = b.SpecRe.at(k);
        b.SpecIm.at(m) = -b.SpecIm.at(k);
    }
}

// Where the transform of N >= 1 samples reads and writes.
struct TransformArrays {
    std::span<double> samples;  // N scaled samples, in SpecIm
    std::span<double> output;   // bins 0..N/2 interleaved, in Spectrum
};

TransformArrays TransformArraysOf(SampleBuffers& b, std::int32_t n)
{
    return {b.SpecIm.range(0, CheckedSub(n, 1)), b.Spectrum.range(0, 2 * (n / 2) + 1)};
}

// What a fault at bin k leaves, as had the bins been stored one at a time in
// increasing k, each followed by its mirror: the bins above k, up to the
// mirror N - k not yet written, read 0.0 again. Spectrum held the transform's
// own data and is cleared too.
[[noreturn]] void FailAtBin(AnalysisState& state, std::int32_t k)
{
    SampleBuffers& b = state.buffers;
    const std::int32_t n = state.params.N;
    if (n - k > k) {
        for (CheckedArray* parts : {&b.SpecRe, &b.SpecIm}) {
            const std::span<double> unreached = parts->range(k + 1, n - k);
            std::fill(unreached.begin(), unreached.end(), 0.0);
        }
    }
    b.Spectrum.clearFrom(0, &state.pool());
    FailAt(state.params, k);
}

// Lowers `first` to `candidate` if it is lower: where the parts of a loop met
// their first fault, whichever finds it first.
void NoteFirst(std::atomic<std::int64_t>& first, std::int64_t candidate)
{
    for (std::int64_t seen = first.load(); candidate < seen && !first.compare_exchange_weak(seen, candidate);) {}
}

// Bins 0..lastBin of (W/N)·DFT(Signal), each followed by its conjugate mirror
// at N - k, in increasing k: for N = 4q + 3 the last mirror write lands on bin
// lastBin - 1, and for even N on bin N/2 itself, and both are kept as they come.
//
// The scaled samples go into SpecIm and FFTW's interleaved bins into
// Spectrum, which the magnitudes only fill afterwards: the transform takes no
// array of its own. The bins are then split into SpecRe and SpecIm.
void Transform(AnalysisState& state, std::int32_t lastBin)
{
    AnalysisParameters& p = state.params;
    SampleBuffers& b = state.buffers;
    WorkerPool& pool = state.pool();
    const std::int32_t n = p.N;

    const std::span<double> re = b.SpecRe.range(0, n);
    const std::span<double> im = b.SpecIm.range(0, n);
    const std::int32_t lastComputed = n / 2;
    const TransformArrays arrays = TransformArraysOf(b, n);
    const std::span<const double> bins = arrays.output;
    {
        const std::span<const double> signal = std::as_const(b.Signal).range(0, CheckedSub(n, 1));
        const std::span<double> samples = arrays.samples;
        const std::span<double> output = arrays.output;
        FftPlan& plan = PlanCacheOf(state).planFor(n, FftThreadsFor(state, n), samples, output);
        // The sample spacing scales each sample before the sum, as in the
        // direct evaluation: the sums then stay far from overflow.
        const double spacing = p.W / n;
        pool.forEachRange(samples.size(), [&](std::size_t first, std::size_t count) {
            for (std::size_t i = first; i < first + count; ++i) samples[i] = spacing * signal[i];
        });
        try {
            plan.execute(samples, output, pool);
        } catch (const RuntimeFault&) {
            b.Spectrum.clearFrom(0);
            b.SpecIm.clearFrom(0);
            throw;
        }
    }

    // Bins below `shared` read nothing a mirror writes (their mirrors lie above
    // N/2 + 1), so they go in parts; the last few, where bins and mirrors
    // meet, go one by one in order.
    const std::int32_t shared = std::min(lastBin + 1, (n - 1) / 2);
    std::atomic<std::int64_t> firstBad{shared};
    const auto split = [&](std::size_t k) {
        re[k] = bins[2 * k];
        im[k] = bins[2 * k + 1];
    };
    pool.forEachRange(static_cast<std::size_t>(std::max(shared, 0)), [&](std::size_t first, std::size_t count) {
        if (static_cast<std::int64_t>(first) >= firstBad.load(std::memory_order_relaxed)) return;
        for (std::size_t k = first; k < first + count; ++k) {
            split(k);
            if (!std::isfinite(re[k]) || !std::isfinite(im[k]))
                return NoteFirst(firstBad, static_cast<std::int64_t>(k));
            const std::size_t m = static_cast<std::size_t>(n) - k;
            re[m] = re[k];
            im[m] = -im[k];
        }
    });
    if (firstBad.load() < shared) FailAtBin(state, static_cast<std::int32_t>(firstBad.load()));

    for (std::int32_t k = std::max(shared, 0); k <= lastComputed; ++k) split(static_cast<std::size_t>(k));
    for (std::int32_t k = std::max(shared, 0); k <= lastBin; ++k) {
        const auto j = static_cast<std::size_t>(k);
        if (k > lastComputed) {
            // Odd N can round lastBin up past N/2: the bin is the conjugate of N - k.
            const auto mirrored = static_cast<std::size_t>(n - k);
            re[j] = re[mirrored];
            im[j] = -im[mirrored];
        }
        if (!std::isfinite(re[j]) || !std::isfinite(im[j])) FailAtBin(state, k);
        const auto m = static_cast<std::size_t>(CheckedSub(n, k));
        re[m] = re[j];
        im[m] = -im[j];
    }
    // What FFTW left in Spectrum above the magnitudes must read 0.0.
    b.Spectrum.clearFrom(CheckedAdd(lastBin, 1), &pool);
    p.SampleIndex = n;
}

void Magnitudes(AnalysisState& state, std::int32_t lastBin, PeakScan* magnitudes)
{
    AnalysisParameters& p = state.params;
    SampleBuffers& b = state.buffers;
    const std::span<const double> re = std::as_const(b.SpecRe).range(0, lastBin);
    const std::span<const double> im = std::as_const(b.SpecIm).range(0, lastBin);
    const std::span<double> spectrum = b.Spectrum.range(0, lastBin);

    const double twoOverW = 2.0 / p.W;
    std::atomic<std::int64_t> firstBad{std::int64_t{lastBin} + 1};
    const PeakScan scan = ScanInPieces(state.pool(), spectrum.size(), [&](std::size_t first, std::size_t count) {
        const std::size_t end = first + count;
        if (static_cast<std::int64_t>(first) >= firstBad.load(std::memory_order_relaxed)) return spectrum.subspan(0, 0);
        for (std::size_t k = first; k < end; ++k) {
            const double sumOfSquares = std::pow(im[k], 2) + std::pow(re[k], 2);
            if (std::isfinite(sumOfSquares)) spectrum[k] = twoOverW * std::sqrt(sumOfSquares);
            if (!std::isfinite(sumOfSquares) || !std::isfinite(spectrum[k])) {
                NoteFirst(firstBad, static_cast<std::int64_t>(k));
                return spectrum.subspan(first, k - first);
            }
        }
        return spectrum.subspan(first, count);
    });
    if (firstBad.load() <= lastBin) FailAt(p, static_cast<std::int32_t>(firstBad.load()));
    if (magnitudes) *magnitudes = scan;
    p.BinIndex = CheckedAdd(lastBin, 1);
}

}  // namespace

std::int32_t LastBinFor(std::int32_t n)
{
    // nearbyint rounds in the current mode, which the program never changes
    // from round-to-nearest-even.
    return static_cast<std::int32_t>(std::nearbyint(static_cast<double>(n) / 2.0));
}

void PrepareSpectrum(AnalysisState& state) noexcept
{
    const std::int32_t n = state.params.N;
    if (n < 1) return;
    try {
        const TransformArrays arrays = TransformArraysOf(state.buffers, n);
        PlanCacheOf(state).planFor(n, FftThreadsFor(state, n), arrays.samples, arrays.output);
    } catch (...) {
        // Raised again by ComputeSpectrum, at its own point in the press.
    }
}

void ComputeSpectrum(AnalysisState& state, PeakScan* magnitudes)
{
    AnalysisParameters& p = state.params;
    p.BinIndex = 0;
    const std::int32_t lastBin = LastBinFor(p.N);
    if (lastBin < 0) return;
    if (p.N < 1) {
        MirrorWithoutSamples(state, lastBin);
    } else {
        Transform(state, lastBin);
    }
    try {
        Magnitudes(state, lastBin, magnitudes);
    } catch (const RuntimeFault&) {
        // Spectrum held the transform's input: what the magnitudes did not
        // reach must read 0.0, as if it had never been used.
        state.buffers.Spectrum.clearFrom(p.BinIndex, &state.pool());
        throw;
    }
}

}  // namespace trelvano
