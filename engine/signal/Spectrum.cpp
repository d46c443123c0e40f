#include "engine/signal/Spectrum.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>

#include "engine/core/CheckedInt.h"
#include "engine/signal/FftPlanCache.h"
#include "engine/signal/Peaks.h"
#include "engine/signal/VectorState.h"

namespace trelvano {

namespace {

[[noreturn]] void FailAt(AnalysisParameters& params, std::int32_t k)
{
    params.BinIndex = k;
    throw RuntimeFault(FaultKind::FloatingPoint);
}

// A negative N leaves no samples to transform; the bins are walked with checked
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

// The transform's own writes, with every value kept as it would be had the
// bins been stored one at a time: for a fault at bin k, FFTW's bins above k
// that no mirror write has reached yet go back to 0.0.
void ClearUnreachedBins(SampleBuffers& b, std::int32_t n, std::int32_t k)
{
    const std::int32_t last = std::min(n / 2, n - k);
    if (last <= k) return;
    const auto from = static_cast<std::size_t>(k) + 1;
    const auto count = static_cast<std::size_t>(last - k);
    for (CheckedArray* parts : {&b.SpecRe, &b.SpecIm}) {
        const std::span<double> cleared = parts->range(0, last).subspan(from, count);
        std::fill(cleared.begin(), cleared.end(), 0.0);
    }
}

// Bins 0..lastBin of (W/N)·DFT(Signal), each followed by its conjugate mirror
// at N - k, in increasing k: for N = 4q + 3 the last mirror write lands on bin
// lastBin - 1, and for even N on bin N/2 itself, and both are kept as they come.
//
// FFTW leaves bins 0..N/2 in SpecRe and SpecIm, and reads the scaled samples
// from Spectrum, which the magnitudes only fill afterwards: the transform
// takes no array of its own.
void Transform(AnalysisState& state, std::int32_t lastBin)
{
    AnalysisParameters& p = state.params;
    SampleBuffers& b = state.buffers;
    const std::int32_t n = p.N;

    const std::span<double> re = b.SpecRe.range(0, n);
    const std::span<double> im = b.SpecIm.range(0, n);

    std::int32_t lastComputed = -1;
    if (n >= 1) {
        const std::span<const double> signal = std::as_const(b.Signal).range(0, CheckedSub(n, 1));
        const std::span<double> samples = b.Spectrum.range(0, CheckedSub(n, 1));
        // SpecRe down to element N + 1 takes FFTW's interleaved output.
        const std::span<double> output = b.SpecRe.range(0, CheckedAdd(n, 1));
        FftPlan& plan = PlanCacheOf(state).planFor(n, samples, output, im);
        // The sample spacing scales each sample before the sum, as in the
        // direct evaluation: the sums then stay far from overflow.
        const double spacing = p.W / n;
        for (std::size_t i = 0; i < signal.size(); ++i) samples[i] = spacing * signal[i];
        try {
            plan.execute(samples, output, im);
        } catch (const RuntimeFault&) {
            b.Spectrum.clearFrom(0);
            throw;
        }
        b.Spectrum.clearFrom(CheckedAdd(lastBin, 1));
        lastComputed = n / 2;
    }

    for (std::int32_t k = 0; k <= lastBin; ++k) {
        const auto j = static_cast<std::size_t>(k);
        if (k > lastComputed) {
            // Odd N can round lastBin up past N/2: the bin is the conjugate of N - k.
            const auto mirrored = static_cast<std::size_t>(n - k);
            re[j] = n >= 1 ? re[mirrored] : 0.0;
            im[j] = n >= 1 ? -im[mirrored] : 0.0;
        }
        if (!std::isfinite(re[j]) || !std::isfinite(im[j])) {
            ClearUnreachedBins(b, n, k);
            b.Spectrum.clearFrom(0);
            FailAt(p, k);
        }
        const auto m = static_cast<std::size_t>(CheckedSub(n, k));
        re[m] = re[j];
        im[m] = -im[j];
    }
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
    // In pieces that stay in cache, so the peak scan reads them from there.
    // LastBin is at most about 2^30: the piece's end cannot overflow.
    constexpr std::int32_t kPiece = 4096;
    for (std::int32_t first = 0; first <= lastBin;) {
        const std::int32_t end = std::min(lastBin, first + (kPiece - 1));
        for (std::int32_t k = first; k <= end; ++k) {
            const auto j = static_cast<std::size_t>(k);
            const double sumOfSquares = std::pow(im[j], 2) + std::pow(re[j], 2);
            if (!std::isfinite(sumOfSquares)) FailAt(p, k);
            spectrum[j] = twoOverW * std::sqrt(sumOfSquares);
            if (!std::isfinite(spectrum[j])) FailAt(p, k);
        }
        if (magnitudes) magnitudes->take(spectrum.subspan(static_cast<std::size_t>(first), end - first + 1u));
        first = end + 1;
    }
    p.BinIndex = CheckedAdd(lastBin, 1);
}

}  // namespace

std::int32_t LastBinFor(std::int32_t n)
{
    // nearbyint rounds in the current mode, which the program never changes
    // from round-to-nearest-even.
    return static_cast<std::int32_t>(std::nearbyint(static_cast<double>(n) / 2.0));
}

void ComputeSpectrum(AnalysisState& state, PeakScan* magnitudes)
{
    AnalysisParameters& p = state.params;
    p.BinIndex = 0;
    const std::int32_t lastBin = LastBinFor(p.N);
    if (lastBin < 0) return;
    ClearUpperVectorState();
    if (p.N < 0) {
        MirrorWithoutSamples(state, lastBin);
    } else {
        Transform(state, lastBin);
    }
    try {
        Magnitudes(state, lastBin, magnitudes);
    } catch (const RuntimeFault&) {
        // Spectrum held the transform's input: what the magnitudes did not
        // reach must read 0.0, as if it had never been used.
        state.buffers.Spectrum.clearFrom(p.BinIndex);
        throw;
    }
}

}  // namespace trelvano
