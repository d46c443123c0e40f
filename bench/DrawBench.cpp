// Cost of the drawing passes: the mapping and merging alone (onto a canvas
// that only counts), and the whole drawing into the raster image both front
// ends show, merged and one segment at a time.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "plot/Canvas.h"
#include "plot/PlotPasses.h"
#include "plot/RasterCanvas.h"
#include "tests/support/AmSignal.h"

namespace {

using trelvano::plot::Canvas;
using trelvano::plot::PixelSize;
using trelvano::plot::Rgb;

// The waveform plot's size in pixels.
constexpr PixelSize PlotPixels{1001, 609};

using trelvano::support::AmSignal;

// A one-sided spectrum of noise: every line drawn, heights all over the range.
std::vector<double> NoiseSpectrum(std::int32_t n)
{
    std::mt19937 random(5U);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::vector<double> spectrum(static_cast<std::size_t>(n) + 2, 0.0);
    for (auto& level : spectrum) {
        level = uniform(random);
    }
    return spectrum;
}

// Counts the lines; says it has the plot's pixels, or none to get every line.
class CountingCanvas : public Canvas {
public:
    explicit CountingCanvas(PixelSize pixels) : pixels_(pixels) {}
    void Scale(double, double, double, double) override {}
    void Line(float, float, float, float, Rgb) override { ++lines; }
    void Blank() override { lines = 0; }
    PixelSize Pixels() const override { return pixels_; }
    std::int64_t lines = 0;

private:
    PixelSize pixels_;
};

void BM_TracePassOnly(benchmark::State& state)
{
    const auto n = static_cast<std::int32_t>(state.range(0));
    const std::vector<double> signal = AmSignal(n);
    CountingCanvas canvas(PlotPixels);
    for (auto _ : state) {
        canvas.Blank();
        trelvano::plot::DrawWaveformTrace(canvas, signal, n, 1.0, 37.5);
        benchmark::DoNotOptimize(canvas.lines);
    }
    state.counters["lines"] = static_cast<double>(canvas.lines);
}
BENCHMARK(BM_TracePassOnly)->RangeMultiplier(10)->Range(1000, 10000000)->Unit(benchmark::kMillisecond);

void BM_SpectrumPassOnly(benchmark::State& state)
{
    const auto n = static_cast<std::int32_t>(state.range(0));
    const std::vector<double> spectrum = NoiseSpectrum(n);
    CountingCanvas canvas(PlotPixels);
    for (auto _ : state) {
        canvas.Blank();
        trelvano::plot::DrawSpectrumLines(canvas, spectrum, n, 1.0, 1.0, n / 2);
        benchmark::DoNotOptimize(canvas.lines);
    }
    state.counters["lines"] = static_cast<double>(canvas.lines);
}
BENCHMARK(BM_SpectrumPassOnly)->RangeMultiplier(10)->Range(1000, 10000000)->Unit(benchmark::kMillisecond);

// Hands everything on to the surface but asks for every line to be drawn.
class OneByOne : public Canvas {
public:
    explicit OneByOne(Canvas& surface) : surface_(surface) {}
    void Scale(double x1, double y1, double x2, double y2) override { surface_.Scale(x1, y1, x2, y2); }
    void Line(float x1, float y1, float x2, float y2, Rgb colour) override { surface_.Line(x1, y1, x2, y2, colour); }
    void Blank() override { surface_.Blank(); }
    PixelSize Pixels() const override { return {0, 0}; }

private:
    Canvas& surface_;
};

// Blanks and draws into a plot-sized image, merged or asking for every line.
template <typename Draw>
void DrawOnSurface(benchmark::State& state, Rgb background, bool merged, Draw draw)
{
    trelvano::plot::RasterCanvas surface(PlotPixels, background);
    OneByOne oneByOne(surface);
    Canvas& canvas = merged ? static_cast<Canvas&>(surface) : oneByOne;
    for (auto _ : state) {
        surface.Blank();
        draw(canvas);
        benchmark::DoNotOptimize(surface.Rgba().data());
    }
}

void TraceOnSurface(benchmark::State& state, bool merged)
{
    const auto n = static_cast<std::int32_t>(state.range(0));
    const std::vector<double> signal = AmSignal(n);
    DrawOnSurface(state, Rgb{255, 255, 192}, merged,
                  [&](Canvas& canvas) { trelvano::plot::DrawWaveformTrace(canvas, signal, n, 1.0, 37.5); });
}

void SpectrumOnSurface(benchmark::State& state, bool merged)
{
    const auto n = static_cast<std::int32_t>(state.range(0));
    const std::vector<double> spectrum = NoiseSpectrum(n);
    DrawOnSurface(state, Rgb{0, 0, 0}, merged,
                  [&](Canvas& canvas) { trelvano::plot::DrawSpectrumLines(canvas, spectrum, n, 1.0, 1.0, n / 2); });
}

void BM_TraceMerged(benchmark::State& state)
{
    TraceOnSurface(state, true);
}
void BM_TraceOneByOne(benchmark::State& state)
{
    TraceOnSurface(state, false);
}
void BM_SpectrumMerged(benchmark::State& state)
{
    SpectrumOnSurface(state, true);
}
void BM_SpectrumOneByOne(benchmark::State& state)
{
    SpectrumOnSurface(state, false);
}

BENCHMARK(BM_TraceMerged)->RangeMultiplier(10)->Range(1000, 10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TraceOneByOne)->RangeMultiplier(10)->Range(1000, 10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpectrumMerged)->RangeMultiplier(10)->Range(1000, 10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpectrumOneByOne)->RangeMultiplier(10)->Range(1000, 10000000)->Unit(benchmark::kMillisecond);

}  // namespace
