#include "Synthesis.h"

#include <algorithm>
#include <cmath>

#include "CheckedInt.h"
#include "VectorState.h"

namespace trelvano {

namespace {

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

    // Every product is grouped as the phases have always been formed, left to
    // right with W/N last, so the samples stay the same to the last bit.
    for (std::int32_t i = 0; i <= last; ++i) {
        const double x = i;
        const double tonePhase = ((x * C) * fm) * spacing;
        const double carrierPhase = ((fp * C) * x) * spacing;
        if (!std::isfinite(tonePhase) || !std::isfinite(carrierPhase)) FailAt(p, i);
        // The modulating tone appears in both waveforms; its phase is the same
        // expression both times, so one cosine serves both.
        const double tone = std::cos(tonePhase);
        const double carrier = std::cos(carrierPhase);
        am[i] = ((mAM * tone + 1.0) * Vp) * carrier;
        if (!std::isfinite(am[i])) FailAt(p, i);

        const double anglePhase = ((x * C) * fp) * spacing + mf * tone;
        if (!std::isfinite(anglePhase)) FailAt(p, i);
        angle[i] = Vp * std::cos(anglePhase);
        if (!std::isfinite(angle[i])) FailAt(p, i);
    }
    p.SampleIndex = n;
}

void SelectSignal(AnalysisState& state, std::string_view modulationText)
{
    AnalysisParameters& p = state.params;
    SampleBuffers& b = state.buffers;

    // Three independent tests, not a chain: the intake lets only one of the
    // texts through, and a fourth text selects nothing.
    const auto copyFrom = [&p, &b](const CheckedArray& source) {
        const std::int32_t last = p.N;
        p.SampleIndex = 0;
        if (last < 0) return;
        const std::span<const double> from = source.range(0, last);
        const std::span<double> to = b.Signal.range(0, last);
        std::copy(from.begin(), from.end(), to.begin());
        p.SampleIndex = CheckedAdd(last, 1);
    };
    if (modulationText == "AM") copyFrom(b.AmWave);
    if (modulationText == "FM") copyFrom(b.AngleWave);
    if (modulationText == "PM") copyFrom(b.AngleWave);
}

}  // namespace trelvano
