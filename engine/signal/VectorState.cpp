#include "engine/signal/VectorState.h"

#include "engine/signal/CpuFeatures.h"

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

}  // namespace

void ClearUpperVectorState() noexcept
{
    if (HasAvx()) ZeroUpper();
}

#else

void ClearUpperVectorState() noexcept {}

#endif

}  // namespace trelvano
