#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/core/WorkerPool.h"
#include "engine/memory/CheckedArray.h"

namespace trelvano {

class FftPlanCache;

// Entered and derived values, in SI units as held (seconds, hertz, volts).
// Field names follow the ones the rest of the program and its tests speak of.
struct AnalysisParameters {
    double Vp = 0.0;               // carrier peak amplitude, V
    double Kt = 0.0;               // time-axis expansion of the waveform plot
    double FreqScale = 0.0;        // spectrum x scale: N / ((Kf·mf·fm + fp)·(W·4))
    double mAM = 0.0;              // AM index
    double mf = 0.0;               // FM / PM index: peak phase deviation, rad
    double Kf = 0.0;               // frequency-axis expansion for FM and PM (0 for AM)
    double fp = 0.0;               // carrier frequency, Hz
    double fm = 0.0;               // modulating frequency, Hz
    double W = 0.0;                // calculation window, s
    double CursorFreq = 0.0;       // last spectrum readout, Hz
    double CursorLevel = 0.0;      // last spectrum readout, V
    double SignalPeak = 0.0;       // largest |Signal[i]|, V
    double SpectrumPeak = 0.0;     // largest |Spectrum[k]|, V
    std::int32_t SampleIndex = 0;  // shared loop counter over samples
    std::int32_t BinIndex = 0;     // shared loop counter over bins
    std::string MessageText;       // text of the last message shown by the intake
    std::int32_t N = 0;            // samples in the window
};

// The six buffers, each indexed 0..N+1 after AllocateSampleBuffers.
struct SampleBuffers {
    CheckedArray Signal;
    CheckedArray SpecRe;
    CheckedArray SpecIm;
    CheckedArray Spectrum;
    CheckedArray AmWave;
    CheckedArray AngleWave;

    // All six, in the order a run re-creates them.
    std::array<std::reference_wrapper<CheckedArray>, 6> inAllocationOrder() noexcept
    {
        return {Signal, SpecRe, SpecIm, Spectrum, AmWave, AngleWave};
    }
    std::array<std::reference_wrapper<const CheckedArray>, 6> inAllocationOrder() const noexcept
    {
        return {Signal, SpecRe, SpecIm, Spectrum, AmWave, AngleWave};
    }
};

// The one analysis state of the application: owned by whoever runs the
// program (the application, or each test) and passed by reference.
struct AnalysisState {
    AnalysisParameters params;
    SampleBuffers buffers;
    // The transform's plans, reused while N stays the same: planning costs more
    // than a transform. The transform makes the cache on first use and hands
    // its deleter over with it, so the state owns it without knowing it.
    std::unique_ptr<FftPlanCache, void (*)(FftPlanCache*)> fft{nullptr, nullptr};
    // The threads a press shares its long loops with; none set means the
    // process's own pool. Tests set a pool of their own to compare counts.
    WorkerPool* workers = nullptr;

    WorkerPool& pool() const { return workers != nullptr ? *workers : ProcessWorkers(); }
};

}  // namespace trelvano
