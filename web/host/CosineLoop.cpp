#include <chrono>
#include <vector>

#include "bench/ThreeCosines.h"
#include "web/host/TrelvanoApi.h"

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#endif

namespace {

double NowSeconds()
{
#ifdef __EMSCRIPTEN__
    // The browser's monotonic clock, in milliseconds with a fraction.
    return emscripten_get_now() / 1000.0;
#else
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
#endif
}

}  // namespace

extern "C" double trelvano_cosine_loop_seconds(int32_t n)
{
    if (n <= 0) return 0.0;
    try {
        // Allocated and touched before the clock starts, as a press's buffers are.
        std::vector<double> first(static_cast<std::size_t>(n)), second(static_cast<std::size_t>(n));
        const double start = NowSeconds();
        trelvano::bench::ThreeCosines(first, second);
        const double seconds = NowSeconds() - start;
        // Read back, so the loop's stores cannot be dropped as unused.
        volatile double sink = first[first.size() / 2] + second[second.size() / 3];
        (void)sink;
        return seconds;
    } catch (...) {
        return -1.0;
    }
}
