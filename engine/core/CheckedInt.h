#pragma once

#include <cstdint>

#include "engine/core/RuntimeFault.h"

namespace trelvano {

// Signed 32-bit arithmetic on sizes and indices: a wrap-around would silently
// address the wrong sample, so it is reported as an overflow instead. Every
// supported compiler (GCC, Clang, MinGW) checks the flag the instruction
// already sets.

inline std::int32_t CheckedAdd(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_add_overflow(a, b, &r)) throw RuntimeFault(FaultKind::Overflow);
    return r;
}

inline std::int32_t CheckedSub(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_sub_overflow(a, b, &r)) throw RuntimeFault(FaultKind::Overflow);
    return r;
}

}  // namespace trelvano
