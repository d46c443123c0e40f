#include "engine/signal/VectorCosine.h"

#include <cmath>

#include "engine/signal/CpuFeatures.h"
#include "engine/signal/VectorCosineKernels.h"

namespace trelvano {

namespace {

#if defined(TRELVANO_HAVE_SLEEF) && (defined(__x86_64__) || defined(__i386__))
// SLEEF's two-lane SSE2 cosine measured slower than the C library's scalar
// one, so a processor without AVX2 takes the scalar path.
const bool kHasAvx2 = HasAvx2Fma();
const bool kHasAvx512 = HasAvx512f();
#else
constexpr bool kHasAvx2 = false;
constexpr bool kHasAvx512 = false;
#endif
// A module built with WebAssembly's vectors does not start without them.
#if defined(TRELVANO_HAVE_SIMD128)
constexpr bool kHasSimd128 = true;
#else
constexpr bool kHasSimd128 = false;
#endif

}  // namespace

bool CosineUnitAvailable(CosineUnit unit) noexcept
{
    switch (unit) {
    case CosineUnit::Avx2:
        return kHasAvx2;
    case CosineUnit::Avx512:
        return kHasAvx512;
    case CosineUnit::Simd128:
        return kHasSimd128;
    case CosineUnit::Scalar:
        break;
    }
    return true;
}

CosineUnit FastestCosineUnit() noexcept
{
    if (kHasAvx512) return CosineUnit::Avx512;
    if (kHasAvx2) return CosineUnit::Avx2;
    if (kHasSimd128) return CosineUnit::Simd128;
    return CosineUnit::Scalar;
}

void Cosines(std::span<const double> phases, std::span<double> out, CosineUnit unit) noexcept
{
    if (!CosineUnitAvailable(unit)) unit = CosineUnit::Scalar;
#if defined(TRELVANO_HAVE_SLEEF)
    if (unit == CosineUnit::Avx512) return kernels::CosinesAvx512(phases.data(), out.data(), phases.size());
    if (unit == CosineUnit::Avx2) return kernels::CosinesAvx2(phases.data(), out.data(), phases.size());
#endif
#if defined(TRELVANO_HAVE_SIMD128)
    if (unit == CosineUnit::Simd128) return kernels::CosinesSimd128(phases.data(), out.data(), phases.size());
#endif
    for (std::size_t i = 0; i < phases.size(); ++i) out[i] = std::cos(phases[i]);
}

}  // namespace trelvano
