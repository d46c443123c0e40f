// The press as a user meets it: each figure comes from a fresh process, so the
// first press at a size pays for everything a new size costs (fresh pages, the
// FFT plan, the first painting), as it does after the user changes N.
//
//   trelvano_press_table [--repeat R] [--type AM|FM|PM] [N ...]
//
// For each N it prints the cold press (first at that N, until the waveform
// window is painted and both plot images are complete), the warm press (the
// same N again), the bare three-cosine loop on vectors already touched, their
// ratios, and the peak resident bytes per sample above the idle process.
// Medians over R processes, then the fastest press over the fastest loop
// (the loop's own time swings from run to run on a shared machine), and the
// threads the press used (TRELVANO_THREADS pins them). Not a test: nothing
// here fails on a time.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ProcessCounters.h"
#include "ThreeCosines.h"
#include "engine/core/WorkerPool.h"
#include "engine/entries/MessageSink.h"
#include "engine/signal/VectorState.h"
#include "ui/AppWindows.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/PlotSurface.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

class CountingSink final : public trelvano::MessageSink {
public:
    void ShowMessage(const std::string&) override { ++shown; }
    int shown = 0;
};

// Child: two presses at n; prints "cold_ms warm_ms peak_bytes_per_sample cold_page_faults threads".
int PressChild(char** argv, long n, const char* type)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The off-screen platform's notes (no raise(), no runtime directory) would drown the table.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    int argc = 1;
    QApplication application(argc, argv);
    trelvano::Session session;
    CountingSink sink;
    trelvano::AppWindows windows(session, sink);
    // Made at start, as the program makes them.
    const int threads = trelvano::ProcessWorkers().threads();
    trelvano::Form1& panel = windows.InputPanel();
    panel.show();
    QCoreApplication::processEvents();
    panel.findChild<QLineEdit*>("Text13")->setText(QString::number(n));
    panel.findChild<QComboBox*>("Combo1")->setEditText(QString::fromLatin1(type));
    const trelvano::bench::ProcessCounters idle = trelvano::bench::ReadProcessCounters();

    const auto press = [&] {
        const auto start = Clock::now();
        panel.Command2_Click();
        // Until the waveform window is on screen and the hidden spectrum image is complete.
        QCoreApplication::processEvents();
        windows.WaveformWindow().repaint();
        (void)windows.SpectrumWindow().Picture1().Image();
        return Milliseconds(Clock::now() - start);
    };
    const double cold = press();
    const trelvano::bench::ProcessCounters afterCold = trelvano::bench::ReadProcessCounters();
    const double peak = afterCold.peakResidentBytes - idle.peakResidentBytes;
    const double warm = press();
    if (sink.shown != 0) {
        std::fprintf(stderr, "the press at N = %ld showed a message\n", n);
        return 1;
    }
    std::printf("%.3f %.3f %.2f %lld %d\n", cold, warm, peak / static_cast<double>(n),
                static_cast<long long>(afterCold.pageFaults - idle.pageFaults), threads);
    return 0;
}

// Child: the three-cosine loop on vectors touched beforehand; prints its best of three, in ms.
int CosinesChild(long n)
{
    std::vector<double> first(static_cast<std::size_t>(n), 1.0);
    std::vector<double> second(static_cast<std::size_t>(n), 1.0);
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        trelvano::ClearUpperVectorState();
        const auto start = Clock::now();
        trelvano::bench::ThreeCosines(first, second);
        best = std::min(best, Milliseconds(Clock::now() - start));
    }
    std::printf("%.3f %g\n", best, first[static_cast<std::size_t>(n) / 2] + second[1]);
    return 0;
}

// Runs this program again with `arguments` and reads the numbers it prints.
std::vector<double> RunChild(const std::string& self, const std::string& arguments)
{
#if defined(_WIN32)
    const std::string command = "\"" + self + "\" " + arguments;
#else
    const std::string command = "'" + self + "' " + arguments;
#endif
    std::vector<double> values;
    FILE* child = popen(command.c_str(), "r");
    if (child == nullptr) return values;
    for (double value = 0.0; std::fscanf(child, "%lf", &value) == 1;) values.push_back(value);
    if (pclose(child) != 0) values.clear();
    return values;
}

double Median(std::vector<double> values)
{
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--child-press") return PressChild(argv, std::atol(argv[2]), argv[3]);
    if (argc == 3 && std::string(argv[1]) == "--child-cosines") return CosinesChild(std::atol(argv[2]));

    int repeat = 3;
    std::string type = "AM";
    std::vector<long> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--repeat" && i + 1 < argc) {
            repeat = std::max(1, std::atoi(argv[++i]));
        } else if (argument == "--type" && i + 1 < argc) {
            type = argv[++i];
        } else {
            const long n = std::atol(argv[i]);
            if (n < 1) {
                std::fprintf(stderr, "usage: trelvano_press_table [--repeat R] [--type AM|FM|PM] [N ...], N >= 1\n");
                return 2;
            }
            sizes.push_back(n);
        }
    }
    if (sizes.empty()) sizes = {100000, 1000000, 10000000, 20000000};
#if defined(_WIN32)
    const std::string self = argv[0];
#else
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
#endif

    std::printf("%-9s %10s %10s %10s %10s %10s %12s %12s %12s %12s %8s\n", "N", "cold ms", "warm ms", "cosines ms",
                "cold/cos", "warm/cos", "bytes/sample", "cold faults", "best cold/c", "best warm/c", "threads");
    for (const long n : sizes) {
        std::array<std::vector<double>, 6> figures;  // cold, warm, bytes per sample, page faults, threads, cosines
        for (int r = 0; r < repeat; ++r) {
            const auto press = RunChild(self, "--child-press " + std::to_string(n) + " " + type);
            const auto cosines = RunChild(self, "--child-cosines " + std::to_string(n));
            if (press.size() != 5 || cosines.size() != 2) {
                std::fprintf(stderr, "a child process failed at N = %ld\n", n);
                return 1;
            }
            for (std::size_t f = 0; f < 5; ++f) figures[f].push_back(press[f]);
            figures[5].push_back(cosines[0]);
        }
        const double cold = Median(figures[0]), warm = Median(figures[1]);
        const double bytes = Median(figures[2]), faults = Median(figures[3]), cosines = Median(figures[5]);
        const auto fastest = [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); };
        const double bestCosines = fastest(figures[5]);
        std::printf("%-9ld %10.1f %10.1f %10.1f %10.2f %10.2f %12.1f %12.0f %12.2f %12.2f %8.0f\n", n, cold, warm,
                    cosines, cold / cosines, warm / cosines, bytes, faults, fastest(figures[0]) / bestCosines,
                    fastest(figures[1]) / bestCosines, figures[4].front());
        std::fflush(stdout);
    }
    return 0;
}
