// Compiled with -mavx512f, and only when the build found SLEEF.
#if defined(TRELVANO_HAVE_SLEEF)
#include <immintrin.h>
#include <sleef.h>

#include <algorithm>

#include "engine/signal/VectorCosineKernels.h"

namespace trelvano::kernels {

void CosinesAvx512(const double* phases, double* out, std::size_t count) noexcept
{
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) _mm512_storeu_pd(out + i, Sleef_cosd8_u10avx512f(_mm512_loadu_pd(phases + i)));
    if (i == count) return;
    double lanes[8] = {};
    std::copy(phases + i, phases + count, lanes);
    _mm512_storeu_pd(lanes, Sleef_cosd8_u10avx512f(_mm512_loadu_pd(lanes)));
    std::copy(lanes, lanes + (count - i), out + i);
}

}  // namespace trelvano::kernels
#endif
