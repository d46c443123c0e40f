// The page's benchmark's yardstick, a module of its own beside the program's:
// the three-cosine loop over n samples, timed inside WebAssembly on the
// browser's clock, so that a press and the loop are measured alike.
#include <cstdint>
#include <vector>

#include <emscripten/emscripten.h>

#include "bench/ThreeCosines.h"

extern "C" double cosine_loop_seconds(int32_t n)
{
    if (n <= 0) return 0.0;
    try {
        // Allocated and touched before the clock starts, as a press's buffers are.
        std::vector<double> first(static_cast<std::size_t>(n)), second(static_cast<std::size_t>(n));
        // The browser's monotonic clock, in milliseconds with a fraction.
        const double start = emscripten_get_now();
        trelvano::bench::ThreeCosines(first, second);
        const double seconds = (emscripten_get_now() - start) / 1000.0;
        // Read back, so the loop's stores cannot be dropped as unused.
        volatile double sink = first[first.size() / 2] + second[second.size() / 3];
        (void)sink;
        return seconds;
    } catch (...) {
        return -1.0;
    }
}
