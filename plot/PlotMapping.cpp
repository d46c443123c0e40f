#include "PlotMapping.h"

namespace trelvano::plot {

double TimeMsAtX(double x, double w, double kt)
{
    return x / 100.0 * w * 1000.0 / kt;
}

double ValueAtY(double y, double signalPeak)
{
    return (y - 50.0) * signalPeak / 45.0;
}

double FrequencyAtX(double x, std::int64_t n, double w, double freqScale)
{
    return x / 200.0 * (static_cast<double>(n) / w) / freqScale;
}

double LevelAtY(double y, double spectrumPeak)
{
    return y * spectrumPeak / 90.0;
}

}  // namespace trelvano::plot
