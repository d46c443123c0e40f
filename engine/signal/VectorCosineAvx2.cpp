// Compiled with -mavx2 -mfma, and only when the build found SLEEF.
#if defined(TRELVANO_HAVE_SLEEF)
#include <immintrin.h>
#include <sleef.h>

#include <algorithm>

#include "engine/signal/VectorCosineKernels.h"

namespace trelvano::kernels {

void CosinesAvx2(const double* phases, double* out, std::size_t count) noexcept
{
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) _mm256_storeu_pd(out + i, Sleef_cosd4_u10avx2(_mm256_loadu_pd(phases + i)));
    if (i == count) return;
    // The last few go through one padded vector rather than a second code path.
    double lanes[4] = {};
    std::copy(phases + i, phases + count, lanes);
    _mm256_storeu_pd(lanes, Sleef_cosd4_u10avx2(_mm256_loadu_pd(lanes)));
    std::copy(lanes, lanes + (count - i), out + i);
}

}  // namespace trelvano::kernels
#endif
