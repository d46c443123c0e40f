#pragma once

#include <cstdint>

namespace trelvano::plot {

// Plot coordinates run from 0 to 100 on both axes, y upwards. Each forward
// mapping below has its reverse; both are evaluated left to right as written,
// in double precision, so that a readout lands exactly where the drawing put a
// point. Index products (i·100, k·200) are formed in 64 bits: no sample count
// that fits in memory can overflow them.

// The forward mappings run once per sample or bin, so they are inline.

// x of sample i: (i·100)·kt/n. Sample n sits at x = 100·kt.
inline double SampleX(std::int64_t i, std::int64_t n, double kt)
{
    return static_cast<double>(i * 100) * kt / static_cast<double>(n);
}

// y of a sample value: value·45/peak + 50, so ±peak lands on 95 and 5.
// A zero peak (every sample zero) gives the zero level 50 rather than 0/0.
inline double SampleY(double value, double signalPeak)
{
    return signalPeak == 0.0 ? 50.0 : value * 45.0 / signalPeak + 50.0;
}

// x of spectrum bin k: (k·200)·freqScale/n.
inline double BinX(std::int64_t k, std::int64_t n, double freqScale)
{
    return static_cast<double>(k * 200) * freqScale / static_cast<double>(n);
}

// Height of a spectrum line: level·90/peak, so the peak reaches 90.
// A zero peak gives height 0 rather than 0/0.
inline double BinHeight(double level, double spectrumPeak)
{
    return spectrumPeak == 0.0 ? 0.0 : level * 90.0 / spectrumPeak;
}

// Time in msec under plot x: (x/100)·w·1000/kt, w in seconds.
double TimeMsAtX(double x, double w, double kt);

// Sample value under plot y: (y − 50)·peak/45.
double ValueAtY(double y, double signalPeak);

// Frequency in Hz under plot x: (x/200)·(n/w)/freqScale, w in seconds.
double FrequencyAtX(double x, std::int64_t n, double w, double freqScale);

// Spectrum level under plot y: y·peak/90.
double LevelAtY(double y, double spectrumPeak);

}  // namespace trelvano::plot
