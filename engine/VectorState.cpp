#include "VectorState.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace trelvano {

#if defined(__x86_64__) || defined(__i386__)

namespace {

__attribute__((target("avx"))) void ZeroUpper() noexcept
{
    _mm256_zeroupper();
}

const bool kHasAvx = __builtin_cpu_supports("avx");

}  // namespace

void ClearUpperVectorState() noexcept
{
    if (kHasAvx) ZeroUpper();
}

#else

void ClearUpperVectorState() noexcept {}

#endif

}  // namespace trelvano
