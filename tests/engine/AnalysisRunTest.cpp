#include "engine/AnalysisRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SampleStates.h"

namespace trelvano {
namespace {

struct RecordedLine {
    float x1, y1, x2, y2;
    friend bool operator==(const RecordedLine&, const RecordedLine&) = default;
};

// Logs every call in one log shared with the host: the order across the window
// and both plots shows.
class RecordingCanvas : public plot::Canvas {
public:
    RecordingCanvas(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
    void Scale(double x1, double y1, double x2, double y2) override
    {
        log_.push_back(name_ + ".Scale(" + std::to_string(int(x1)) + "," + std::to_string(int(y1)) + "," +
                       std::to_string(int(x2)) + "," + std::to_string(int(y2)) + ")");
    }
    void Line(float x1, float y1, float x2, float y2, plot::Rgb) override
    {
        if (log_.empty() || log_.back() != name_ + ".Line") log_.push_back(name_ + ".Line");  // once per stretch
        lines.push_back({x1, y1, x2, y2});
    }
    void Blank() override { log_.push_back(name_ + ".Blank"); }
    plot::PixelSize Pixels() const override { return {0, 0}; }  // every segment, unmerged

    std::vector<RecordedLine> lines;

private:
    std::string name_;
    std::vector<std::string>& log_;
};

class RecordingHost : public RunHost, public MessageSink {
public:
    std::string ModulationText() override
    {
        log.push_back("type");
        return type;
    }
    void ShowWaveformWindow() override { log.push_back("show"); }
    plot::Canvas& WaveformPlot() override { return waveform; }
    plot::Canvas& SpectrumPlot() override { return spectrum; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    // One "Grafici" press with the defaults, edited; the type box says what the entries say.
    void Press(const std::string& modulation, const char* samples = "1000", const char* ms = "2")
    {
        type = modulation;
        const EntryTexts entries{"1", "25", ms, samples, "0.5", "4.05", "0.5", "30", "3", modulation};
        GraficiAction(state, entries, *this, *this);
    }

    AnalysisState state;
    std::string type;
    std::vector<std::string> log, messages;
    RecordingCanvas waveform{"waveform", log};
    RecordingCanvas spectrum{"spectrum", log};
};

const std::vector<std::string> kBeforeTheRun = {"waveform.Blank", "spectrum.Blank", "show",
                                                "spectrum.Scale(0,100,100,0)", "waveform.Scale(0,100,100,0)"};

TEST(AnalysisRun, DefaultAmPressBlanksScalesThenDrawsTraceAndLines)
{
    RecordingHost host;
    host.Press("AM");
    std::vector<std::string> expected = kBeforeTheRun;
    expected.insert(expected.end(), {"type", "waveform.Line", "spectrum.Line", "waveform.Line"});
    EXPECT_EQ(host.log, expected);

    // N segments from sample 0 (the peak) to sample N (never synthesised), then the zero axis.
    const std::vector<RecordedLine>& wave = host.waveform.lines;
    ASSERT_EQ(wave.size(), 1000u + 1u);
    EXPECT_EQ(wave.front().x1, 0.0F);
    EXPECT_EQ(wave.front().y1, 95.0F);
    EXPECT_EQ(wave[999].x2, 100.0F);
    EXPECT_EQ(wave[999].y2, 50.0F);
    EXPECT_EQ(wave.back(), (RecordedLine{0.0F, 50.0F, 100.0F, 50.0F}));

    const auto& lines = host.spectrum.lines;
    const auto tallest = std::max_element(lines.begin(), lines.end(), [](auto& a, auto& b) { return a.y2 < b.y2; });
    ASSERT_NE(tallest, lines.end());
    EXPECT_FLOAT_EQ(tallest->x1, 50.0F);
    EXPECT_FLOAT_EQ(tallest->y2, 90.0F);
}

TEST(AnalysisRun, StoppedPressTouchesNoWindow)
{
    RecordingHost host;
    host.Press("Scegli la modulazione");
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.log.empty());
}

TEST(AnalysisRun, FmAndPmDrawTheSame)
{
    RecordingHost fm, pm;
    fm.Press("FM");
    pm.Press("PM");
    ASSERT_EQ(fm.waveform.lines.size(), 1001u);
    EXPECT_EQ(fm.waveform.lines, pm.waveform.lines);
    EXPECT_EQ(fm.spectrum.lines, pm.spectrum.lines);
}

TEST(AnalysisRun, FaultsComeBeforeAnyDrawingWithTheWindowShown)
{
    // A negative window with a negative N passes the sampling limit.
    const struct { const char *samples, *ms; FaultKind fault; } rows[] = {
        {"2147483647", "2", FaultKind::Overflow}, {"-1000", "-2", FaultKind::IndexOutOfRange}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.samples);
        RecordingHost host;
        EXPECT_EQ(enginetest::FaultOf([&] { host.Press("AM", row.samples, row.ms); }), row.fault);
        EXPECT_TRUE(host.messages.empty());
        host.log.resize(kBeforeTheRun.size());
        EXPECT_EQ(host.log, kBeforeTheRun);
        EXPECT_TRUE(host.waveform.lines.empty());
        EXPECT_TRUE(host.spectrum.lines.empty());
    }
}

}  // namespace
}  // namespace trelvano
