#include <gtest/gtest.h>

#include <cstdint>

#include "plot/PlotMapping.h"

namespace trelvano::plot {
namespace {

// One row serves both plots: index is sample i (at time i·W/N) and bin k (at
// frequency k/W); scale is Kt and FreqScale.
TEST(PlotMapping, ReverseGivesBackWhatWasPlotted)
{
    const struct { const char* name; std::int64_t index, n; double w, scale, value, peak; } rows[] = {
        {"First", 0, 1000, 0.002, 1.0, 37.5, 37.5},
        {"AmCarrier", 60, 1000, 0.002, 1000.0 / 240.0, 25.0, 25.0},
        {"HugeN", 30000000, 40000000, 0.01, 0.75, -1.0, 9.0}};  // i·100 and k·200 beyond 32 bits
    for (const auto& p : rows) {
        SCOPED_TRACE(p.name);
        const double index = static_cast<double>(p.index);
        const double timeMs = index * p.w / static_cast<double>(p.n) * 1000.0;
        const double frequency = index / p.w;
        EXPECT_NEAR(TimeMsAtX(SampleX(p.index, p.n, p.scale), p.w, p.scale), timeMs, 1e-12 * timeMs);
        EXPECT_NEAR(ValueAtY(SampleY(p.value, p.peak), p.peak), p.value, 1e-12 * p.peak);
        EXPECT_NEAR(FrequencyAtX(BinX(p.index, p.n, p.scale), p.n, p.w, p.scale), frequency, 1e-12 * frequency);
        EXPECT_NEAR(LevelAtY(BinHeight(p.value, p.peak), p.peak), p.value, 1e-12 * p.peak);
    }
}

}  // namespace
}  // namespace trelvano::plot
