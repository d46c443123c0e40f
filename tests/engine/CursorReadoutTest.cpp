#include "engine/AllocateSampleBuffers.h"
#include "engine/CursorReadout.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/Entries.h"

namespace trelvano {
namespace {

// What a default AM run leaves, filled by hand: 37.5 V at sample 0, lines of
// 6.25, 25 and 6.25 V on bins 54, 60, 66; the peaks stale, to be scanned again.
AnalysisState DefaultAmRun()
{
    AnalysisState state = support::DefaultState();
    state.params.Kt = 1.0;
    state.params.FreqScale = 1000.0 / (30000.0 * 0.008);
    state.params.SignalPeak = state.params.SpectrumPeak = 99.0;
    AllocateSampleBuffers(state);
    state.buffers.Signal.at(0) = 37.5;
    for (int k : {54, 60, 66}) state.buffers.Spectrum.at(k) = k == 60 ? 25.0 : 6.25;
    return state;
}

TEST(CursorReadout, WaveformAtTheTopOfTheTraceAndSpectrumAtTheCarrierTop)
{
    const std::tuple<const char*, void (*)(AnalysisState&), const char*, const char*, const char*> rows[] = {
        {"DefaultAm", [](AnalysisState&) {}, ".", "t= 1.00 msec ; V(t) = 3.75E+01 V",
         "f= 30000.00 Hz ; S(f) = 2.50E+01 V"},
        {"ZeroExpansion", [](AnalysisState& s) { s.params.Kt = 0.0; }, ".", "t= n.d. msec ; V(t) = 3.75E+01 V",
         "f= 30000.00 Hz ; S(f) = 2.50E+01 V"},
        {"ZeroWindow", [](AnalysisState& s) { s.params.W = 0.0; }, ".", "t= 0.00 msec ; V(t) = 3.75E+01 V",
         "f= n.d. Hz ; S(f) = 2.50E+01 V"},
        {"ZeroFrequencyScale", [](AnalysisState& s) { s.params.FreqScale = 0.0; }, ".",
         "t= 1.00 msec ; V(t) = 3.75E+01 V", "f= n.d. Hz ; S(f) = 2.50E+01 V"},
        {"NoBuffersYet", [](AnalysisState& s) { s.buffers = SampleBuffers{}; }, ".", "t= 1.00 msec ; V(t) = 0.00E+00 V",
         "f= 30000.00 Hz ; S(f) = 0.00E+00 V"},
        // Left by a rejected press: N beyond the arrays of the last run, or with no 32-bit N - 1.
        {"SamplesBeyondTheBuffers", [](AnalysisState& s) { s.params.N = 5000; }, ".",
         "t= 1.00 msec ; V(t) = 3.75E+01 V", "f= 150000.00 Hz ; S(f) = 2.50E+01 V"},
        {"SmallestSampleCount", [](AnalysisState& s) { s.params.N = -2147483647 - 1; }, ".",
         "t= 1.00 msec ; V(t) = 3.75E+01 V", "f= -64424509440.00 Hz ; S(f) = 0.00E+00 V"},
    };
    for (const auto& [name, edit, separator, waveform, spectrum] : rows) {
        SCOPED_TRACE(name);
        AnalysisState state = DefaultAmRun();
        edit(state);
        EXPECT_EQ(WaveformReadout(state, 50.0F, 95.0F, separator), waveform);
        EXPECT_EQ(SpectrumReadout(state, 50.0F, 90.0F, separator), spectrum);
    }
    AnalysisState state = DefaultAmRun();
    EXPECT_EQ(SpectrumReadout(state, 45.0F, 22.5F, "."), "f= 27000.00 Hz ; S(f) = 6.25E+00 V");
    EXPECT_EQ(SpectrumReadout(state, 55.0F, 22.5F, "."), "f= 33000.00 Hz ; S(f) = 6.25E+00 V");
}

}  // namespace
}  // namespace trelvano
