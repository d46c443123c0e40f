#include "engine/signal/Synthesis.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "engine/core/CheckedInt.h"
#include "engine/signal/VectorCosine.h"

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

// What every sample's phases are made of.
struct Tone {
    double Vp, mAM, mf, fp, fm, spacing;
};

// The samples go in blocks, so that the cosines of a block are taken together
// by the vector unit; a block is small enough to stay in cache. Parts of the
// pool's loops are whole blocks, so the blocks are the same however the
// samples are shared out.
constexpr std::size_t kBlock = 256;
static_assert(WorkerPool::kSmallPart % kBlock == 0 && WorkerPool::kLargePart % kBlock == 0);

// Synthesises samples begin..begin+count-1 into am and angle, block by block,
// and returns where the first block holding a value that is not finite starts
// (it stops after that block, whose values are not to be kept); begin + count
// when there is none.
std::size_t SynthesiseBlocks(const Tone& t, std::span<double> am, std::span<double> angle, std::size_t begin,
                             std::size_t count)
{
    constexpr double C = TwoPi15;
    std::array<double, kBlock> tonePhase, carrierPhase, anglePhase, tone, carrier, angleCosine;
    const std::size_t end = begin + count;
    for (std::size_t first = begin; first < end; first += kBlock) {
        const std::size_t size = std::min(kBlock, end - first);
        const auto lanes = static_cast<int>(size);
        const auto base = static_cast<double>(first);
        double* const amOut = am.data() + first;
        double* const angleOut = angle.data() + first;
        std::uint64_t notFinite = 0;
        // Each phase keeps its products in their written order, left to right
        // with W/N last: another grouping changes the samples in the last bit.
        // (base + j is the sample index, exact as every whole number below 2^53.)
        for (int j = 0; j < lanes; ++j) {
            const double x = base + j;
            tonePhase[j] = ((x * C) * t.fm) * t.spacing;
            carrierPhase[j] = ((t.fp * C) * x) * t.spacing;
            anglePhase[j] = ((x * C) * t.fp) * t.spacing;
            notFinite |= NotFiniteBit(tonePhase[j]) | NotFiniteBit(carrierPhase[j]);
        }
        // The modulating tone appears in both waveforms; its phase is the same
        // expression both times, so one cosine serves both.
        Cosines({tonePhase.data(), size}, {tone.data(), size});
        Cosines({carrierPhase.data(), size}, {carrier.data(), size});
        for (int j = 0; j < lanes; ++j) {
            anglePhase[j] = anglePhase[j] + t.mf * tone[j];
            notFinite |= NotFiniteBit(anglePhase[j]);
        }
        Cosines({anglePhase.data(), size}, {angleCosine.data(), size});
        // The samples go straight to the buffers: a block that turns out not
        // to be finite is written again, one sample at a time, by the caller.
        for (int j = 0; j < lanes; ++j) {
            amOut[j] = ((t.mAM * tone[j] + 1.0) * t.Vp) * carrier[j];
            angleOut[j] = t.Vp * angleCosine[j];
            notFinite |= NotFiniteBit(amOut[j]) | NotFiniteBit(angleOut[j]);
        }
        if ((notFinite >> 63) != 0) return first;
    }
    return end;
}

// The block from `first` again, one sample at a time, stored up to the first
// value that is not finite, where it stops as a loop one sample at a time stops.
[[noreturn]] void FailInBlock(AnalysisParameters& p, const Tone& t, std::span<double> am, std::span<double> angle,
                              std::size_t first)
{
    constexpr double C = TwoPi15;
    const std::size_t end = std::min(am.size(), first + kBlock);
    for (std::size_t i = first; i < end; ++i) {
        const auto index = static_cast<std::int32_t>(i);
        const double x = static_cast<double>(i);
        const double tonePhase = ((x * C) * t.fm) * t.spacing;
        const double carrierPhase = ((t.fp * C) * x) * t.spacing;
        if (!IsFinite(tonePhase) || !IsFinite(carrierPhase)) FailAt(p, index);
        double tone = 0.0;
        double carrier = 0.0;
        Cosines({&tonePhase, 1}, {&tone, 1});
        Cosines({&carrierPhase, 1}, {&carrier, 1});
        am[i] = ((t.mAM * tone + 1.0) * t.Vp) * carrier;
        const double anglePhase = ((x * C) * t.fp) * t.spacing + t.mf * tone;
        if (!IsFinite(am[i]) || !IsFinite(anglePhase)) FailAt(p, index);
        double angleCosine = 0.0;
        Cosines({&anglePhase, 1}, {&angleCosine, 1});
        angle[i] = t.Vp * angleCosine;
        if (!IsFinite(angle[i])) FailAt(p, index);
    }
    // Not reached: the block held a value that is not finite.
    FailAt(p, static_cast<std::int32_t>(end));
}

}  // namespace

void SynthesiseWaveforms(AnalysisState& state, const std::function<void()>& alongside)
{
    AnalysisParameters& p = state.params;
    const std::int32_t n = p.N;
    const std::int32_t last = CheckedSub(n, 1);
    p.SampleIndex = 0;
    if (last < 0) {
        if (alongside) alongside();
        return;
    }

    const std::span<double> am = state.buffers.AmWave.range(0, last);
    const std::span<double> angle = state.buffers.AngleWave.range(0, last);
    const Tone tone{p.Vp, p.mAM, p.mf, p.fp, p.fm, p.W / n};
    const auto total = static_cast<std::size_t>(last) + 1;

    std::atomic<std::size_t> firstBad{total};
    state.pool().forEachRange(
        total,
        [&](std::size_t begin, std::size_t count) {
            // Parts past a fault already found are of no use.
            if (begin >= firstBad.load(std::memory_order_relaxed)) return;
            const std::size_t bad = SynthesiseBlocks(tone, am, angle, begin, count);
            if (bad == begin + count) return;
            for (std::size_t seen = firstBad.load(); bad < seen && !firstBad.compare_exchange_weak(seen, bad);) {}
        },
        alongside);
    const std::size_t bad = firstBad.load();
    if (bad < total) {
        // What the parts after the fault wrote was never reached by a loop one
        // sample at a time, so it reads 0.0 again.
        std::fill(am.begin() + static_cast<std::ptrdiff_t>(bad), am.end(), 0.0);
        std::fill(angle.begin() + static_cast<std::ptrdiff_t>(bad), angle.end(), 0.0);
        FailInBlock(p, tone, am, angle, bad);
    }
    p.SampleIndex = n;
}

void SelectSignal(AnalysisState& state, std::string_view modulationText, PeakScan* copied)
{
    AnalysisParameters& p = state.params;
    SampleBuffers& b = state.buffers;

    // Three independent tests, not a chain: the intake lets only one of the
    // texts through, and a fourth text selects nothing.
    const auto copyFrom = [&p, &b, &state, copied](const CheckedArray& source) {
        const std::int32_t last = p.N;
        p.SampleIndex = 0;
        if (last < 0) return;
        const std::span<const double> from = source.range(0, last);
        const std::span<double> to = b.Signal.range(0, last);
        // The copy is scanned while it is in cache, so the peak costs no second pass.
        const PeakScan scan = ScanInPieces(state.pool(), to.size(), [&](std::size_t first, std::size_t count) {
            std::copy_n(from.begin() + static_cast<std::ptrdiff_t>(first), count,
                        to.begin() + static_cast<std::ptrdiff_t>(first));
            return std::span<const double>(to.subspan(first, count));
        });
        if (copied) *copied = scan;
        p.SampleIndex = CheckedAdd(last, 1);
    };
    if (modulationText == "AM") copyFrom(b.AmWave);
    if (modulationText == "FM") copyFrom(b.AngleWave);
    if (modulationText == "PM") copyFrom(b.AngleWave);
}

}  // namespace trelvano
