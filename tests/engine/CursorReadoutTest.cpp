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

}  // namespace
}  // namespace trelvano
