#include "engine/AnalysisRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/signal/Peaks.h"
#include "tests/support/Entries.h"
#include "tests/support/RecordingHost.h"

namespace trelvano {
namespace {

using support::RecordedLine;

// A double's bits, compared exactly; std::bit_cast is missing from older
// libc++ (emscripten 3.1.6's among them).
std::uint64_t BitsOf(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

struct Session : support::RecordingHost {
    using RecordingHost::RecordingHost;
    // One "Grafici" press with the initial entries, N and W edited; the type box says what the entries say.
    void Press(const std::string& samples = "1000", const std::string& ms = "2")
    {
        GraficiAction(state, support::Edited("Text13=" + samples + "|Text1=" + ms, support::Entries(type)), *this,
                      *this);
    }
    AnalysisState state;
};

const std::vector<std::string> kBeforeTheRun = {"waveform.Blank", "spectrum.Blank", "show",
                                                "spectrum.Scale(0,100,100,0)", "waveform.Scale(0,100,100,0)"};

TEST(AnalysisRun, PressBlanksScalesThenDrawsTraceAndLinesTheSameForFmAndPm)
{
    Session am("AM"), fm("FM"), pm("PM");
    for (Session* run : {&am, &fm, &pm}) run->Press();
    std::vector<std::string> expected = kBeforeTheRun;
    expected.insert(expected.end(), {"type", "waveform.Line", "spectrum.Line"});
    EXPECT_EQ(am.log, expected);

    // N segments from sample 0 (the peak) to sample N (never synthesised), then the zero axis.
    const auto& wave = am.waveform.lines;
    ASSERT_EQ(wave.size(), 1000u + 1u);
    EXPECT_TRUE(wave[0].x1 == 0.0F && wave[0].y1 == 95.0F && wave[999].x2 == 100.0F && wave[999].y2 == 50.0F);
    EXPECT_EQ(wave.back(), (RecordedLine{0.0F, 50.0F, 100.0F, 50.0F, plot::Black}));
    // The carrier, the spectrum's peak, the full height at mid-plot.
    const auto& lines = am.spectrum.lines;
    const auto tallest = std::max_element(lines.begin(), lines.end(), [](auto& a, auto& b) { return a.y2 < b.y2; });
    EXPECT_TRUE(tallest != lines.end() && std::abs(tallest->x1 - 50.0F) < 1e-4F && tallest->y2 == 90.0F);

    ASSERT_EQ(fm.waveform.lines.size(), 1001u);
    EXPECT_EQ(fm.waveform.lines, pm.waveform.lines);
    EXPECT_EQ(fm.spectrum.lines, pm.spectrum.lines);
}

TEST(AnalysisRun, StopsAndFaultsComeBeforeAnyDrawing)
{
    Session stopped("Scegli la modulazione");
    stopped.Press();
    EXPECT_EQ(stopped.messages.size(), 1u);
    EXPECT_TRUE(stopped.log.empty());

    // A negative window with a negative N passes the sampling limit. The window is already shown.
    const std::tuple<const char*, const char*, FaultKind> rows[] = {{"2147483647", "2", FaultKind::Overflow},
                                                                    {"-1000", "-2", FaultKind::IndexOutOfRange}};
    for (const auto& [samples, ms, fault] : rows) {
        Session run;
        EXPECT_EQ(support::FaultOf([&run, n = samples, w = ms] { run.Press(n, w); }), fault) << samples;
        run.log.resize(kBeforeTheRun.size());
        EXPECT_EQ(run.log, kBeforeTheRun);
        EXPECT_TRUE(run.waveform.lines.empty() && run.spectrum.lines.empty());
    }
}

// The run gathers both peaks while it writes the values; it must leave what the
// standalone scans after the spectrum leave, and nothing of them when it stops earlier.
TEST(AnalysisRun, PeaksGatheredOnTheWayEqualTheStandaloneScans)
{
    const std::tuple<const char*, std::int32_t, double, const char*, double> rows[] = {
        {"Am", 1000, 0.002, "AM", 30000},
        {"FmOddN", 1001, 0.002, "FM", 30000},
        {"NothingSelected", 1000, 0.002, "Scegli la modulazione", 30000},
        {"NoSamplesNegativeWindow", 0, -0.002, "AM", 30000},  // SpectrumPeak keeps bin 0 as stored: -0.0
        {"MinusOneStopsInTheSpectrum", -1, -0.002, "AM", 30000},
        {"NegativeNStopsAtTheSignalPeak", -1000, -0.002, "AM", 30000},
        {"StopsInTheSynthesis", 1000, 0.002, "AM", 1e307},
    };
    for (const auto& [name, n, w, type, fp] : rows) {
        SCOPED_TRACE(name);
        Session run(type), reference(type);
        for (Session* host : {&run, &reference}) {
            host->state.params = support::DefaultState(n).params;
            host->state.params.W = w;
            host->state.params.fp = fp;
            host->state.params.SignalPeak = host->state.params.SpectrumPeak = 123.0;  // a previous run's
        }
        // Faults up to the peaks, both peaks to the bit and both counters.
        const auto outcome = [](const Session& host, std::optional<FaultKind> fault) {
            const AnalysisParameters& p = host.state.params;
            return std::tuple(fault, BitsOf(p.SignalPeak), BitsOf(p.SpectrumPeak), p.SampleIndex, p.BinIndex);
        };
        const auto runFault = support::FaultOf([&] { RunAnalysis(run.state, run); });
        const auto referenceFault = support::FaultOf([&] {
            support::Synthesise(reference.state, reference.type, true);
            FindSignalPeak(reference.state);
            FindSpectrumPeak(reference.state);
        });
        // Where the reference completes, the run may still stop in the drawing, which is not the peaks'.
        EXPECT_EQ(outcome(run, referenceFault ? runFault : std::nullopt), outcome(reference, referenceFault));
    }
}

}  // namespace
}  // namespace trelvano
