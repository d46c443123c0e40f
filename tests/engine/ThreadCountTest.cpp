#include "engine/core/WorkerPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <vector>

#include "engine/CursorReadout.h"
#include "tests/support/Entries.h"
#include "tests/support/RecordingHost.h"

namespace trelvano {
namespace {

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
// of operations, so the spectrum may differ in its last bits (measured: at most 2.5e-16 of the peak), never
// in what a readout prints or a line's pixel.
TEST(Press, OnAnyNumberOfThreadsGivesTheSameSamplesPeaksReadoutsAndLines)
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
            for (const float x : {0.0f, 12.5f, 50.0f, 50.05f, 99.9f}) {
                for (const float y : {0.0f, 45.0f, 90.0f, 95.0f}) {
                    EXPECT_EQ(WaveformReadout(single, x, y, ","), WaveformReadout(shared, x, y, ","));
                    EXPECT_EQ(SpectrumReadout(single, x, y, ","), SpectrumReadout(shared, x, y, ","));
                }
            }
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
