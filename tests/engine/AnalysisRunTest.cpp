#include "engine/AnalysisRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/RuntimeFault.h"

namespace trelvano {
namespace {

struct RecordedLine {
    float x1, y1, x2, y2;
    plot::Rgb colour;
    friend bool operator==(const RecordedLine&, const RecordedLine&) = default;
};

// A canvas that draws nothing and remembers every call, in one log shared
// with the host so that the order across both plots and the window shows.
class RecordingCanvas : public plot::Canvas {
public:
    RecordingCanvas(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}

    void Scale(double x1, double y1, double x2, double y2) override
    {
        log_.push_back(name_ + ".Scale(" + std::to_string(int(x1)) + "," + std::to_string(int(y1)) + "," +
                       std::to_string(int(x2)) + "," + std::to_string(int(y2)) + ")");
    }
    void Line(float x1, float y1, float x2, float y2, plot::Rgb colour) override
    {
        log_.push_back(name_ + ".Line");
        lines.push_back({x1, y1, x2, y2, colour});
    }
    void Blank() override
    {
        log_.push_back(name_ + ".Blank");
        lines.clear();
    }
    // Asks the passes to draw every segment, unmerged.
    plot::PixelSize Pixels() const override { return {0, 0}; }

    std::vector<RecordedLine> lines;

private:
    std::string name_;
    std::vector<std::string>& log_;
};

class RecordingHost : public RunHost {
public:
    std::string ModulationText() override
    {
        log.push_back("type");
        return type;
    }
    void ShowWaveformWindow() override { log.push_back("show"); }
    plot::Canvas& WaveformPlot() override { return waveform; }
    plot::Canvas& SpectrumPlot() override { return spectrum; }

    // The log with each run of equal entries written once: the shape of a run.
    std::vector<std::string> Steps() const
    {
        std::vector<std::string> steps;
        for (const std::string& entry : log) {
            if (steps.empty() || steps.back() != entry) steps.push_back(entry);
        }
        return steps;
    }

    std::string type;
    std::vector<std::string> log;
    RecordingCanvas waveform{"waveform", log};
    RecordingCanvas spectrum{"spectrum", log};
};

class RecordingSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

EntryTexts Defaults(const std::string& type)
{
    return EntryTexts{"1", "25", "2", "1000", "0.5", "4.05", "0.5", "30", "3", type};
}

// Runs one "Grafici" press; the host's type box holds what the entries say.
void Press(AnalysisState& state, const EntryTexts& entries, RecordingHost& host, RecordingSink& sink)
{
    host.type = entries.Combo1;
    GraficiAction(state, entries, sink, host);
}

const std::vector<std::string> kSetUp = {"show", "spectrum.Scale(0,100,100,0)", "waveform.Scale(0,100,100,0)",
                                         "type"};

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(AnalysisRun, AcceptedPressBlanksThenRunsInOrder)
{
    AnalysisState state;
    RecordingHost host;
    RecordingSink sink;
    Press(state, Defaults("AM"), host, sink);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(host.Steps(), Concat(Concat({"waveform.Blank", "spectrum.Blank"}, kSetUp),
                                   {"waveform.Line", "spectrum.Line", "waveform.Line"}));
}

TEST(AnalysisRun, StoppedPressTouchesNoWindow)
{
    AnalysisState state;
    RecordingHost host;
    RecordingSink sink;
    Press(state, Defaults("Scegli la modulazione"), host, sink);
    EXPECT_EQ(sink.shown.size(), 1u);
    EXPECT_TRUE(host.log.empty());
}

TEST(AnalysisRun, DefaultAmDrawsTraceLinesAndAxis)
{
    AnalysisState state;
    RecordingHost host;
    RecordingSink sink;
    Press(state, Defaults("AM"), host, sink);

    EXPECT_EQ(state.params.SignalPeak, 37.5);
    EXPECT_NEAR(state.params.SpectrumPeak, 25.0, 1e-9);

    const std::vector<RecordedLine>& wave = host.waveform.lines;
    ASSERT_EQ(wave.size(), 1000u + 1u);
    EXPECT_EQ(wave.front().x1, 0.0F);
    EXPECT_EQ(wave.front().y1, 95.0F);  // sample 0 is the peak
    const RecordedLine& lastSegment = wave[999];
    EXPECT_EQ(lastSegment.x2, 100.0F);
    EXPECT_EQ(lastSegment.y2, 50.0F);  // sample N is never synthesised
    EXPECT_EQ(wave.back(), (RecordedLine{0.0F, 50.0F, 100.0F, 50.0F, plot::Black}));
    EXPECT_TRUE(std::all_of(wave.begin(), wave.end(), [](const RecordedLine& l) { return l.colour == plot::Black; }));

    // Bins 1..120 reach up to twice the carrier, the right edge; each stands
    // on its own. What lies far beyond the edge is the drawing passes' affair.
    const std::vector<RecordedLine>& lines = host.spectrum.lines;
    const auto visible =
        std::count_if(lines.begin(), lines.end(), [](const RecordedLine& l) { return l.x1 <= 100.5F; });
    EXPECT_EQ(visible, 120);
    EXPECT_LE(lines.size(), 500u);
    const auto tallest = std::max_element(lines.begin(), lines.end(),
                                          [](const RecordedLine& a, const RecordedLine& b) { return a.y2 < b.y2; });
    EXPECT_FLOAT_EQ(tallest->x1, 50.0F);
    EXPECT_FLOAT_EQ(tallest->y2, 90.0F);
    for (float sideX : {45.0F, 55.0F}) {
        const auto side = std::find_if(lines.begin(), lines.end(),
                                       [&](const RecordedLine& l) { return std::abs(l.x1 - sideX) < 1e-4F; });
        ASSERT_NE(side, lines.end()) << sideX;
        EXPECT_NEAR(side->y2, 22.5F, 1e-4F) << sideX;
    }
    EXPECT_TRUE(std::all_of(lines.begin(), lines.end(), [](const RecordedLine& l) {
        return l.colour == plot::Red && l.y1 == 0.0F && l.x1 == l.x2;
    }));
}

TEST(AnalysisRun, FmAndPmDrawTheSame)
{
    AnalysisState fmState, pmState;
    RecordingHost fm, pm;
    RecordingSink sink;
    Press(fmState, Defaults("FM"), fm, sink);
    Press(pmState, Defaults("PM"), pm, sink);
    ASSERT_EQ(fm.waveform.lines.size(), 1001u);
    EXPECT_EQ(fm.waveform.lines, pm.waveform.lines);
    EXPECT_EQ(fm.spectrum.lines, pm.spectrum.lines);
    EXPECT_EQ(fm.log, pm.log);
}

TEST(AnalysisRun, SecondPressShowsOnlyTheNewRun)
{
    AnalysisState state;
    RecordingHost host;
    RecordingSink sink;
    Press(state, Defaults("AM"), host, sink);
    EntryTexts smaller = Defaults("FM");
    smaller.Text13 = "500";
    smaller.Text3 = "20";
    Press(state, smaller, host, sink);

    AnalysisState freshState;
    RecordingHost fresh;
    Press(freshState, smaller, fresh, sink);
    EXPECT_EQ(host.waveform.lines.size(), 500u + 1u);
    EXPECT_EQ(host.waveform.lines, fresh.waveform.lines);
    EXPECT_EQ(host.spectrum.lines, fresh.spectrum.lines);
}

struct FaultCase {
    const char* name;
    const char* samples;
    const char* windowMs;
    const char* carrierKHz;
    FaultKind fault;
};

std::string PrintName(const testing::TestParamInfo<FaultCase>& info)
{
    return info.param.name;
}

class RunFaults : public testing::TestWithParam<FaultCase> {};

TEST_P(RunFaults, StopBeforeAnythingIsDrawnWithTheWindowShown)
{
    const FaultCase& c = GetParam();
    EntryTexts entries = Defaults("AM");
    entries.Text13 = c.samples;
    entries.Text1 = c.windowMs;
    entries.Text3 = c.carrierKHz;
    AnalysisState state;
    RecordingHost host;
    RecordingSink sink;
    try {
        Press(state, entries, host, sink);
        ADD_FAILURE() << "no fault";
    } catch (const RuntimeFault& fault) {
        EXPECT_EQ(fault.kind(), c.fault);
    }
    EXPECT_TRUE(sink.shown.empty());  // validation accepted the entries
    const std::vector<std::string> before = Concat({"waveform.Blank", "spectrum.Blank"}, kSetUp);
    const std::vector<std::string> steps = host.Steps();
    ASSERT_GE(steps.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(steps.begin(), steps.begin() + 5),
              std::vector<std::string>(before.begin(), before.begin() + 5));
    EXPECT_TRUE(host.waveform.lines.empty());
    EXPECT_TRUE(host.spectrum.lines.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RunFaults,
    testing::Values(FaultCase{"LargestSampleCount", "2147483647", "2", "30", FaultKind::Overflow},
                    FaultCase{"MinusOneSample", "-1", "2", "-30", FaultKind::IndexOutOfRange},
                    FaultCase{"NegativeSamples", "-1000", "-2", "30", FaultKind::IndexOutOfRange}),
    PrintName);

TEST(AnalysisRun, NoSamplesDrawOnlyTheAxis)
{
    EntryTexts entries = Defaults("AM");
    entries.Text13 = "0";
    entries.Text3 = "-30";
    AnalysisState state;
    RecordingHost host;
    RecordingSink sink;
    Press(state, entries, host, sink);
    EXPECT_EQ(host.waveform.lines, (std::vector<RecordedLine>{{0.0F, 50.0F, 100.0F, 50.0F, plot::Black}}));
    EXPECT_TRUE(host.spectrum.lines.empty());
}

TEST(AnalysisRun, ZeroAmplitudeDrawsOnTheZeroLevel)
{
    EntryTexts entries = Defaults("FM");
    entries.Text8 = "0";
    AnalysisState state;
    RecordingHost host;
    RecordingSink sink;
    Press(state, entries, host, sink);
    ASSERT_EQ(host.waveform.lines.size(), 1001u);
    EXPECT_TRUE(std::all_of(host.waveform.lines.begin(), host.waveform.lines.end(),
                            [](const RecordedLine& l) { return l.y1 == 50.0F && l.y2 == 50.0F; }));
}

}  // namespace
}  // namespace trelvano
