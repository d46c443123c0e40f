#include "engine/AllocateSampleBuffers.h"
#include "engine/CursorReadout.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "tests/support/Entries.h"

namespace trelvano {
namespace {

// What a default AM run leaves, filled by hand: 37.5 V at sample 0, lines of
// 6.25, 25 and 6.25 V on bins 54, 60, 66; the peaks stale, to be scanned again.
AnalysisState DefaultAmRun()
{
    AnalysisState state = support::DefaultState();
    state.params.SignalPeak = state.params.SpectrumPeak = 99.0;
    AllocateSampleBuffers(state);
    state.buffers.Signal.at(0) = 37.5;
    for (int k : {54, 60, 66}) state.buffers.Spectrum.at(k) = k == 60 ? 25.0 : 6.25;
    return state;
}

// The waveform read at the top of the trace, the spectrum at the carrier's top; "." as the separator.
TEST(CursorReadout, WaveformAtTheTopOfTheTraceAndSpectrumAtTheCarrierTop)
{
    const std::string time = "t= 1.00 msec ; V(t) = 3.75E+01 V", carrier = "f= 30000.00 Hz ; S(f) = 2.50E+01 V";
    const std::tuple<const char*, void (*)(AnalysisState&), std::string, std::string> rows[] = {
        {"DefaultAm", [](AnalysisState&) {}, time, carrier},
        {"ZeroExpansion", [](AnalysisState& s) { s.params.Kt = 0.0; }, "t= n.d. msec ; V(t) = 3.75E+01 V", carrier},
        {"ZeroWindow", [](AnalysisState& s) { s.params.W = 0.0; }, "t= 0.00 msec ; V(t) = 3.75E+01 V",
         "f= n.d. Hz ; S(f) = 2.50E+01 V"},
        {"NoBuffersYet", [](AnalysisState& s) { s.buffers = SampleBuffers{}; }, "t= 1.00 msec ; V(t) = 0.00E+00 V",
         "f= 30000.00 Hz ; S(f) = 0.00E+00 V"},
        // Left by a rejected press: N beyond the arrays of the last run, or with no 32-bit N - 1.
        {"SamplesBeyondTheBuffers", [](AnalysisState& s) { s.params.N = 5000; }, time,
         "f= 150000.00 Hz ; S(f) = 2.50E+01 V"},
        {"SmallestSampleCount", [](AnalysisState& s) { s.params.N = -2147483647 - 1; }, time,
         "f= -64424509440.00 Hz ; S(f) = 0.00E+00 V"},
    };
    for (const auto& [name, edit, waveform, spectrum] : rows) {
        SCOPED_TRACE(name);
        AnalysisState state = DefaultAmRun();
        edit(state);
        EXPECT_EQ(WaveformReadout(state, 50.0F, 95.0F, "."), waveform);
        EXPECT_EQ(SpectrumReadout(state, 50.0F, 90.0F, "."), spectrum);
    }
}

// A pointer on the device pixel where a canvas puts a plot point reads that point back, whatever the plot's
// size; the readout then takes it from there. With other corners the axes follow them.
TEST(CursorReadout, PointerReadsBackThePlotPointUnderIt)
{
    const plot::PixelSize sizes[] = {{1001, 609}, {200, 120}, {1009, 617}};
    const std::tuple<float, float> points[] = {{0.0F, 100.0F}, {100.0F, 0.0F}, {50.0F, 95.0F}, {37.5F, 12.25F}};
    for (const plot::PixelSize size : sizes) {
        for (const auto& [x, y] : points) {
            const double px = x / 100.0 * size.width, py = (100.0 - y) / 100.0 * size.height;
            const plot::PlotPoint at = PointerToPlot(px, py, size);
            EXPECT_NEAR(at.x, x, 1e-4F) << size.width << " " << x;
            EXPECT_NEAR(at.y, y, 1e-4F) << size.height << " " << y;
        }
    }
    const plot::PlotPoint corner = PointerToPlot(200.0, 30.0, {200, 120}, {-10.0, 5.0, 30.0, 1.0});
    EXPECT_TRUE(corner.x == 30.0F && corner.y == 4.0F) << corner.x << " " << corner.y;
    const plot::PlotPoint none = PointerToPlot(3.0, 4.0, {0, 0});
    EXPECT_TRUE(none.x == plot::kPlotCorners.x1 && none.y == plot::kPlotCorners.y1);
}

}  // namespace
}  // namespace trelvano
