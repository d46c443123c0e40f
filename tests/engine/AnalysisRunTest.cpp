// A press's run: what it draws and in what order, the peaks it gathers, and the same results on any number of
// threads.
#include "engine/AnalysisRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/core/WorkerPool.h"
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

// A stop comes before anything is blanked; a fault (a negative window with a negative N passes the sampling
// limit) after the window is shown and scaled, before anything is drawn.
TEST(AnalysisRun, PressBlanksScalesThenDrawsUnlessItStopsOrFaultsAndFmDrawsAsPm)
{
    const std::vector<std::string> before = {"waveform.Blank", "spectrum.Blank", "show", "spectrum.Scale(0,100,100,0)",
                                             "waveform.Scale(0,100,100,0)"};
    std::vector<std::string> drawn = before;
    drawn.insert(drawn.end(), {"type", "waveform.Line", "spectrum.Line"});
    const std::tuple<const char*, const char*, const char*, std::optional<FaultKind>, std::vector<std::string>> rows[] =
        {{kTypeBoxInitialText, "1000", "2", {}, {}},
         {"AM", "2147483647", "2", FaultKind::Overflow, before},
         {"AM", "-1000", "-2", FaultKind::IndexOutOfRange, before}};
    for (const auto& [type, samples, ms, fault, log] : rows) {
        SCOPED_TRACE(samples);
        Session run(type);
        EXPECT_EQ(support::FaultOf([&run, n = samples, w = ms] { run.Press(n, w); }), fault);
        if (fault) run.log.resize(log.size());
        EXPECT_EQ(run.log, log);
        EXPECT_EQ(run.messages.size(), fault ? 0u : 1u);
        EXPECT_TRUE(run.waveform.lines.empty() && run.spectrum.lines.empty());
    }
    Session am("AM"), fm("FM"), pm("PM");
    for (Session* run : {&am, &fm, &pm}) run->Press();
    EXPECT_EQ(am.log, drawn);
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

// Part 5's fault is the one raised, whichever thread meets which first; a part that loops again from inside a
// part runs on its own thread instead of waiting for itself; every part runs once even after a fault.
TEST(WorkerPool, EveryPartRunsOnceAndTheLowestPartsFaultIsRaised)
{
    for (const int threads : {1, 3}) {
        SCOPED_TRACE(threads);
        WorkerPool pool(threads);
        std::vector<std::atomic<int>> calls(1000);
        std::atomic<int> inner = 0;
        bool firstRan = false;
        const auto fault = support::FaultOf([&] {
            pool.run(
                calls.size(),
                [&](std::size_t part) {
                    ++calls[part];
                    if (part == 999) pool.run(4, [&](std::size_t) { ++inner; });
                    if (part == 700) throw RuntimeFault(FaultKind::Overflow);
                    if (part == 5) throw RuntimeFault(FaultKind::IndexOutOfRange);
                },
                [&] {
                    firstRan = true;
                    throw RuntimeFault(FaultKind::OutOfMemory);
                });
        });
        EXPECT_EQ(fault, FaultKind::IndexOutOfRange);
        EXPECT_TRUE(firstRan);
        EXPECT_EQ(inner, 4);
        EXPECT_TRUE(std::all_of(calls.begin(), calls.end(), [](const auto& c) { return c == 1; }));
        // The first part's own fault, with no part faulting after it.
        const auto memory = [] { throw RuntimeFault(FaultKind::OutOfMemory); };
        EXPECT_EQ(support::FaultOf([&] {
                      pool.run(
                          3, [](std::size_t) {}, memory);
                  }),
                  FaultKind::OutOfMemory);
    }
}

// Whole presses on one, two and three threads, at sizes whose loops are shared out: N = 4q + 3 (the last bins
// and their mirrors meet), a power of two, an N with a large prime factor (FFTW's threaded Rader), and one
// long enough for parts of 2 MB.
// The samples and the waveform's peak are the same to the bit; FFTW's threaded transform is another sequence
// of operations, so the spectrum may differ in its last bits (measured: at most 2.5e-16 of the peak), far
// below what a readout prints, and never in a line's pixel.
TEST(Press, OnAnyNumberOfThreadsGivesTheSameSamplesPeaksAndLines)
{
    const std::pair<const char*, const char*> rows[] = {
        {"FM", "300003"}, {"AM", "262144"}, {"PM", "400034"}, {"AM", "1200003"}};  // 400034 = 2 · 200017
    for (const auto& [type, samples] : rows) {
        SCOPED_TRACE(std::string(type) + " " + samples);
        const EntryTexts entries =
            support::Edited(std::string("Text13=") + samples + "|Text1=20", support::Entries(type));
        support::RecordingHost one(type);
        AnalysisState single, shared;
        WorkerPool alone(1);
        single.workers = &alone;
        GraficiAction(single, entries, one, one);
        for (const int threads : {2, 3}) {
            SCOPED_TRACE(threads);
            WorkerPool pool(threads);
            shared.workers = &pool;
            support::RecordingHost other(type);
            GraficiAction(shared, entries, other, other);
            ASSERT_TRUE(other.messages.empty() && one.messages.empty());
            const auto a = single.buffers.Signal.all(), b = shared.buffers.Signal.all();
            EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end()));
            EXPECT_EQ(single.params.SignalPeak, shared.params.SignalPeak);
            const double peak = single.params.SpectrumPeak;
            EXPECT_NEAR(shared.params.SpectrumPeak, peak, 4e-16 * peak);
            const auto s = single.buffers.Spectrum.all(), t = shared.buffers.Spectrum.all();
            double largest = 0.0;
            for (std::size_t k = 0; k < s.size(); ++k) largest = std::max(largest, std::fabs(s[k] - t[k]));
            EXPECT_LE(largest, 4e-16 * peak);
            EXPECT_EQ(one.log, other.log);
            EXPECT_EQ(one.waveform.lines, other.waveform.lines);
            ASSERT_EQ(one.spectrum.lines.size(), other.spectrum.lines.size());
            for (std::size_t i = 0; i < one.spectrum.lines.size(); ++i) {
                const support::RecordedLine &l = one.spectrum.lines[i], &m = other.spectrum.lines[i];
                ASSERT_TRUE(l.x1 == m.x1 && l.x2 == m.x2 && l.y1 == m.y1 && std::fabs(l.y2 - m.y2) < 1e-4f) << l << m;
            }
        }
    }
}

}  // namespace
}  // namespace trelvano
