#include "engine/signal/CpuFeatures.h"

namespace trelvano {

namespace {

struct Features {
    bool avx = false;
    bool avx2Fma = false;
    bool avx512f = false;
};

Features Detect() noexcept
{
    Features found;
#if defined(__x86_64__) || defined(__i386__)
    // The first question may come from another unit's static initialiser,
    // before the runtime's own constructor has filled in what the builtins read.
    __builtin_cpu_init();
    found.avx = __builtin_cpu_supports("avx");
    found.avx2Fma = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    found.avx512f = __builtin_cpu_supports("avx512f");
#endif
    return found;
}

const Features& Processor() noexcept
{
    static const Features features = Detect();
    return features;
}

}  // namespace

bool HasAvx() noexcept
{
    return Processor().avx;
}

bool HasAvx2Fma() noexcept
{
    return Processor().avx2Fma;
}

bool HasAvx512f() noexcept
{
    return Processor().avx512f;
}

}  // namespace trelvano
