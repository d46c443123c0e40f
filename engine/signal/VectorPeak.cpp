#include "engine/signal/VectorPeak.h"

#include <algorithm>
#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#elif defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

namespace trelvano {

double LargestMagnitude(std::span<const double> scanned, double peak) noexcept
{
    constexpr double kLargest = std::numeric_limits<double>::max();
    std::size_t i = 0;
    double best = peak;
    bool finite = true;
#if defined(__SSE2__)
    const __m128d sign = _mm_set1_pd(-0.0);
    const __m128d largest = _mm_set1_pd(kLargest);
    __m128d best0 = _mm_set1_pd(peak);
    __m128d best1 = best0;
    __m128d notFinite = _mm_setzero_pd();
    for (; i + 4 <= scanned.size(); i += 4) {
        const __m128d a = _mm_andnot_pd(sign, _mm_loadu_pd(scanned.data() + i));
        const __m128d b = _mm_andnot_pd(sign, _mm_loadu_pd(scanned.data() + i + 2));
        notFinite = _mm_or_pd(notFinite, _mm_or_pd(_mm_cmpnle_pd(a, largest), _mm_cmpnle_pd(b, largest)));
        best0 = _mm_max_pd(best0, a);
        best1 = _mm_max_pd(best1, b);
    }
    double lanes[2];
    _mm_storeu_pd(lanes, _mm_max_pd(best0, best1));
    best = std::max(lanes[0], lanes[1]);
    finite = _mm_movemask_pd(notFinite) == 0;
#elif defined(__wasm_simd128__)
    // Not below or at the largest double: a NaN as well as an infinity.
    const v128_t largest = wasm_f64x2_splat(kLargest);
    v128_t best0 = wasm_f64x2_splat(peak);
    v128_t best1 = best0;
    v128_t notFinite = wasm_i64x2_splat(0);
    for (; i + 4 <= scanned.size(); i += 4) {
        const v128_t a = wasm_f64x2_abs(wasm_v128_load(scanned.data() + i));
        const v128_t b = wasm_f64x2_abs(wasm_v128_load(scanned.data() + i + 2));
        notFinite =
            wasm_v128_or(notFinite, wasm_v128_not(wasm_v128_and(wasm_f64x2_le(a, largest), wasm_f64x2_le(b, largest))));
        best0 = wasm_f64x2_pmax(best0, a);
        best1 = wasm_f64x2_pmax(best1, b);
    }
    const v128_t both = wasm_f64x2_pmax(best0, best1);
    best = std::max(wasm_f64x2_extract_lane(both, 0), wasm_f64x2_extract_lane(both, 1));
    finite = !wasm_v128_any_true(notFinite);
#endif
    for (; i < scanned.size(); ++i) {
        const double magnitude = std::fabs(scanned[i]);
        finite &= magnitude <= kLargest;
        best = magnitude >= best ? magnitude : best;
    }
    return finite ? best : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace trelvano
