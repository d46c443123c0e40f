#include "engine/AnalysisRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <optional>
#include <tuple>
#include <string>
#include <vector>

#include "tests/engine/SampleStates.h"
#include "engine/signal/Peaks.h"

namespace trelvano {
namespace {

// Logs into one log shared with the host, so the order across the window and both plots shows.
struct RecordingCanvas : plot::Canvas {
    RecordingCanvas(std::string n, std::vector<std::string>& l) : name(std::move(n)), log(l) {}
    void Scale(double x1, double y1, double x2, double y2) override
    {
        log.push_back(name + ".Scale(" + std::to_string(int(x1)) + "," + std::to_string(int(y1)) + "," +
                       std::to_string(int(x2)) + "," + std::to_string(int(y2)) + ")");
    }
    void Line(float x1, float y1, float x2, float y2, plot::Rgb) override
    {
        if (log.empty() || log.back() != name + ".Line") log.push_back(name + ".Line");  // once per stretch
        lines.push_back({x1, y1, x2, y2});
    }
    void Blank() override { log.push_back(name + ".Blank"); }
    plot::PixelSize Pixels() const override { return {0, 0}; }  // every segment, unmerged

    std::string name;
    std::vector<std::string>& log;
    std::vector<std::array<float, 4>> lines;  // x1, y1, x2, y2
};

struct RecordingHost : RunHost, MessageSink {
    std::string ModulationText() override { log.push_back("type"); return type; }
    void ShowWaveformWindow() override { log.push_back("show"); }
    plot::Canvas& WaveformPlot() override { return waveform; }
    plot::Canvas& SpectrumPlot() override { return spectrum; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    // One "Grafici" press with the defaults, edited; the type box says what the entries say.
    void Press(const std::string& modulation, const char* samples = "1000", const char* ms = "2")
    {
        type = modulation;
        EntryTexts entries = support::Entries(modulation);
        entries.Text1 = ms;
        entries.Text13 = samples;
        GraficiAction(state, entries, *this, *this);
    }

    AnalysisState state;
    std::string type;
    std::vector<std::string> log, messages;
    RecordingCanvas waveform{"waveform", log}, spectrum{"spectrum", log};
};

const std::vector<std::string> kBeforeTheRun = {"waveform.Blank", "spectrum.Blank", "show",
                                                "spectrum.Scale(0,100,100,0)", "waveform.Scale(0,100,100,0)"};

TEST(AnalysisRun, PressBlanksScalesThenDrawsTraceAndLinesTheSameForFmAndPm)
{
    RecordingHost am, fm, pm;
    am.Press("AM");
    std::vector<std::string> expected = kBeforeTheRun;
    expected.insert(expected.end(), {"type", "waveform.Line", "spectrum.Line", "waveform.Line"});
    EXPECT_EQ(am.log, expected);

    // N segments from sample 0 (the peak) to sample N (never synthesised), then the zero axis.
    const auto& wave = am.waveform.lines;
    ASSERT_EQ(wave.size(), 1000u + 1u);
    EXPECT_EQ((std::array{wave[0][0], wave[0][1], wave[999][2], wave[999][3]}),
              (std::array{0.0F, 95.0F, 100.0F, 50.0F}));
    EXPECT_EQ(wave.back(), (std::array{0.0F, 50.0F, 100.0F, 50.0F}));
    const auto& lines = am.spectrum.lines;
    const auto tallest = std::max_element(lines.begin(), lines.end(), [](auto& a, auto& b) { return a[3] < b[3]; });
    ASSERT_NE(tallest, lines.end());
    EXPECT_FLOAT_EQ((*tallest)[0], 50.0F);
    EXPECT_FLOAT_EQ((*tallest)[3], 90.0F);

    fm.Press("FM");
    pm.Press("PM");
    ASSERT_EQ(fm.waveform.lines.size(), 1001u);
    EXPECT_EQ(fm.waveform.lines, pm.waveform.lines);
    EXPECT_EQ(fm.spectrum.lines, pm.spectrum.lines);
}

TEST(AnalysisRun, StopsAndFaultsComeBeforeAnyDrawing)
{
    RecordingHost stopped;
    stopped.Press("Scegli la modulazione");
    EXPECT_EQ(stopped.messages.size(), 1u);
    EXPECT_TRUE(stopped.log.empty());

    // A negative window with a negative N passes the sampling limit. The window is already shown.
    const struct { const char *samples, *ms; FaultKind fault; } rows[] = {
        {"2147483647", "2", FaultKind::Overflow}, {"-1000", "-2", FaultKind::IndexOutOfRange}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.samples);
        RecordingHost host;
        EXPECT_EQ(enginetest::FaultOf([&] { host.Press("AM", row.samples, row.ms); }), row.fault);
        host.log.resize(kBeforeTheRun.size());
        EXPECT_EQ(host.log, kBeforeTheRun);
        EXPECT_TRUE(host.waveform.lines.empty());
        EXPECT_TRUE(host.spectrum.lines.empty());
    }
}

// The run gathers both peaks while it writes the values; it must leave what the
// standalone scans after the spectrum leave, and nothing of them when it stops earlier.
TEST(AnalysisRun, PeaksGatheredOnTheWayEqualTheStandaloneScans)
{
    const struct { const char* name; std::int32_t n; double w; const char* type; double fp; } rows[] = {
        {"Am", 1000, 0.002, "AM", 30000},
        {"FmOddN", 1001, 0.002, "FM", 30000},
        {"NothingSelected", 1000, 0.002, "Scegli la modulazione", 30000},
        {"NoSamplesNegativeWindow", 0, -0.002, "AM", 30000},  // SpectrumPeak keeps bin 0 as stored: -0.0
        {"MinusOneStopsInTheSpectrum", -1, -0.002, "AM", 30000},
        {"NegativeNStopsAtTheSignalPeak", -1000, -0.002, "AM", 30000},
        {"StopsInTheSynthesis", 1000, 0.002, "AM", 1e307},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingHost run, reference;
        for (RecordingHost* host : {&run, &reference}) {
            host->state.params = enginetest::DefaultState(row.n).params;
            host->state.params.W = row.w;
            host->state.params.fp = row.fp;
            host->state.params.SignalPeak = host->state.params.SpectrumPeak = 123.0;  // a previous run's
            host->type = row.type;
        }
        // Faults up to the peaks, both peaks to the bit and both counters.
        const auto outcome = [](RecordingHost& host, std::optional<FaultKind> fault) {
            const AnalysisParameters& p = host.state.params;
            return std::tuple(fault, std::bit_cast<std::uint64_t>(p.SignalPeak),
                              std::bit_cast<std::uint64_t>(p.SpectrumPeak), p.SampleIndex, p.BinIndex);
        };
        const auto runFault = enginetest::FaultOf([&] { RunAnalysis(run.state, run); });
        const auto referenceFault = enginetest::FaultOf([&] {
            enginetest::Synthesise(reference.state, reference.type, true);
            FindSignalPeak(reference.state);
            FindSpectrumPeak(reference.state);
        });
        // Where the reference completes, the run may still stop in the drawing, which is not the peaks'.
        EXPECT_EQ(outcome(run, referenceFault ? runFault : std::nullopt), outcome(reference, referenceFault));
    }
}

}  // namespace
}  // namespace trelvano
