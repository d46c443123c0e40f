#include "engine/signal/Synthesis.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "engine/core/CheckedInt.h"
#include "engine/signal/VectorCosine.h"
#include "engine/signal/VectorState.h"

namespace trelvano {

namespace {

inline bool IsFinite(double value)
{
    return std::fabs(value) <= std::numeric_limits<double>::max();
}

// The sign bit of the result is set exactly when `value` is not finite: its
// exponent field is then all ones, and adding one at the field's lowest place
// carries out of it. Integer operations only, so that a loop gathering these
// with | still runs several samples at a time.
inline std::uint64_t NotFiniteBit(double value)
{
#if defined(__cpp_lib_bit_cast)
    const auto bits = std::bit_cast<std::uint64_t>(value);
#else
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
#endif
    return (bits & 0x7ff0000000000000u) + 0x0010000000000000u;
}

[[noreturn]] void FailAt(AnalysisParameters& params, std::int32_t i)
{
    params.SampleIndex = i;
    throw RuntimeFault(FaultKind::FloatingPoint);
}

}  // namespace

void SynthesiseWaveforms(AnalysisState& state)
{
    AnalysisParameters& p = state.params;
    const std::int32_t n = p.N;
    const std::int32_t last = CheckedSub(n, 1);
    p.SampleIndex = 0;
    if (last < 0) return;

    ClearUpperVectorState();
    const std::span<double> am = state.buffers.AmWave.range(0, last);
    const std::span<double> angle = state.buffers.AngleWave.range(0, last);

    constexpr double C = TwoPi15;
    const double Vp = p.Vp;
    const double mAM = p.mAM;
    const double mf = p.mf;
    const double fp = p.fp;
    const double fm = p.fm;
    const double spacing = p.W / n;

    // The samples go in blocks, so that the cosines of a block are taken
    // together by the vector unit; a block is small enough to stay in cache.
    constexpr std::size_t kBlock = 256;
    std::array<double, kBlock> tonePhase, carrierPhase, anglePhase, tone, carrier, angleCosine, amSample, angleSample;
    const auto total = static_cast<std::size_t>(last) + 1;
    for (std::size_t first = 0; first < total; first += kBlock) {
        const std::size_t count = std::min(kBlock, total - first);
        const auto lanes = static_cast<int>(count);
        const auto base = static_cast<double>(first);
        std::uint64_t notFinite = 0;
        // Each phase keeps its products in their written order, left to right
        // with W/N last: another grouping changes the samples in the last bit.
        // (base + j is the sample index, exact as every whole number below 2^53.)
        for (int j = 0; j < lanes; ++j) {
            const double x = base + j;
            tonePhase[j] = ((x * C) * fm) * spacing;
            carrierPhase[j] = ((fp * C) * x) * spacing;
            anglePhase[j] = ((x * C) * fp) * spacing;
            notFinite |= NotFiniteBit(tonePhase[j]) | NotFiniteBit(carrierPhase[j]);
        }
        // The modulating tone appears in both waveforms; its phase is the same
        // expression both times, so one cosine serves both.
        Cosines({tonePhase.data(), count}, {tone.data(), count});
        Cosines({carrierPhase.data(), count}, {carrier.data(), count});
        for (int j = 0; j < lanes; ++j) {
            amSample[j] = ((mAM * tone[j] + 1.0) * Vp) * carrier[j];
            anglePhase[j] = anglePhase[j] + mf * tone[j];
            notFinite |= NotFiniteBit(amSample[j]) | NotFiniteBit(anglePhase[j]);
        }
        Cosines({anglePhase.data(), count}, {angleCosine.data(), count});
        for (int j = 0; j < lanes; ++j) {
            angleSample[j] = Vp * angleCosine[j];
            notFinite |= NotFiniteBit(angleSample[j]);
        }
        const bool finite = (notFinite >> 63) == 0;
        if (!finite) {
            // Stop at the first value that is not finite, with the samples
            // before it stored, as a loop one sample at a time stops.
            for (std::size_t j = 0; j < count; ++j) {
                const auto i = static_cast<std::int32_t>(first + j);
                if (!IsFinite(tonePhase[j]) || !IsFinite(carrierPhase[j])) FailAt(p, i);
                am[first + j] = amSample[j];
                if (!IsFinite(amSample[j]) || !IsFinite(anglePhase[j])) FailAt(p, i);
                angle[first + j] = angleSample[j];
                if (!IsFinite(angleSample[j])) FailAt(p, i);
            }
        }
        std::copy_n(amSample.begin(), count, am.begin() + static_cast<std::ptrdiff_t>(first));
        std::copy_n(angleSample.begin(), count, angle.begin() + static_cast<std::ptrdiff_t>(first));
    }
    p.SampleIndex = n;
}

void SelectSignal(AnalysisState& state, std::string_view modulationText, PeakScan* copied)
{
    AnalysisParameters& p = state.params;
    SampleBuffers& b = state.buffers;

    // Three independent tests, not a chain: the intake lets only one of the
    // texts through, and a fourth text selects nothing.
    const auto copyFrom = [&p, &b, copied](const CheckedArray& source) {
        const std::int32_t last = p.N;
        p.SampleIndex = 0;
        if (last < 0) return;
        const std::span<const double> from = source.range(0, last);
        const std::span<double> to = b.Signal.range(0, last);
        if (copied) *copied = PeakScan{};
        // In pieces that stay in cache, so the peak scan reads them from there.
        constexpr std::size_t kPiece = 4096;
        for (std::size_t first = 0; first < to.size(); first += kPiece) {
            const std::size_t count = std::min(kPiece, to.size() - first);
            std::copy_n(from.begin() + static_cast<std::ptrdiff_t>(first), count,
                        to.begin() + static_cast<std::ptrdiff_t>(first));
            if (copied) copied->take(to.subspan(first, count));
        }
        p.SampleIndex = CheckedAdd(last, 1);
    };
    if (modulationText == "AM") copyFrom(b.AmWave);
    if (modulationText == "FM") copyFrom(b.AngleWave);
    if (modulationText == "PM") copyFrom(b.AngleWave);
}

}  // namespace trelvano
