// The whole "Grafici" press (validation, run, drawing into both plot images)
// timed side by side with the bare three-cosine loop at the same N. The
// counter press/cosines is the speed target: at most 2 at N = 1e6.
#ifdef TRELVANO_BENCH_UI
#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QLineEdit>
#include <chrono>
#include <string>
#include <vector>

#include "BenchApplication.h"
#include "ProcessCounters.h"
#include "ThreeCosines.h"
#include "engine/session/Session.h"
#include "engine/entries/MessageSink.h"
#include "engine/signal/VectorState.h"
#include "ui/AppWindows.h"
#include "ui/Form1.h"

namespace {

class CountingSink final : public trelvano::MessageSink {
public:
    void ShowMessage(const std::string&) override { ++shown; }
    int shown = 0;
};

void WholePress(benchmark::State& bench)
{
    trelvano::bench::EnsureApplication();
    const auto n = static_cast<std::size_t>(bench.range(0));
    trelvano::Session session;
    CountingSink sink;
    trelvano::AppWindows windows(session, sink);
    trelvano::Form1& panel = windows.InputPanel();
    panel.findChild<QLineEdit*>("Text13")->setText(QString::number(bench.range(0)));
    panel.findChild<QComboBox*>("Combo1")->setEditText("AM");

    std::vector<double> first(n);
    std::vector<double> second(n);
    using Clock = std::chrono::steady_clock;
    Clock::duration press{};
    Clock::duration cosines{};
    for (auto _ : bench) {
        // The press's drawing leaves the AVX upper state dirty, which would slow
        // the anchor loop many times over; the engine's own loops clear it too.
        trelvano::ClearUpperVectorState();
        const auto t0 = Clock::now();
        trelvano::bench::ThreeCosines(first, second);
        benchmark::DoNotOptimize(first.data());
        benchmark::DoNotOptimize(second.data());
        const auto t1 = Clock::now();
        panel.Command2_Click();
        const auto t2 = Clock::now();
        cosines += t1 - t0;
        press += t2 - t1;
    }
    if (sink.shown != 0) bench.SkipWithError("the press showed a message");
    const auto ms = [&bench](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count() / static_cast<double>(bench.iterations());
    };
    bench.counters["press_ms"] = ms(press);
    bench.counters["cosines_ms"] = ms(cosines);
    bench.counters["press/cosines"] = ms(press) / ms(cosines);
    // Meaningful when one size runs alone (--benchmark_filter=WholePress/10000000).
    bench.counters["peak_bytes/sample"] =
        trelvano::bench::ReadProcessCounters().peakResidentBytes / static_cast<double>(n);
}
BENCHMARK(WholePress)->RangeMultiplier(10)->Range(1000, 10000000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
#endif
