#pragma once

#include <cstdint>

#include "engine/core/RuntimeFault.h"

namespace trelvano {

// Signed 32-bit arithmetic on sizes and indices: a wrap-around would silently
// address the wrong sample, so it is reported as an overflow instead.
//
// GCC and Clang (MinGW included) check the flag the instruction already sets;
// any other compiler gets the same answer from the exact 64-bit result, which
// two 32-bit operands can never overflow.
namespace checked_int_detail {

inline std::int32_t Narrow(std::int64_t wide)
{
    if (wide < INT32_MIN || wide > INT32_MAX) throw RuntimeFault(FaultKind::Overflow);
    return static_cast<std::int32_t>(wide);
}

inline std::int32_t WideAdd(std::int32_t a, std::int32_t b) { return Narrow(std::int64_t{a} + b); }
inline std::int32_t WideSub(std::int32_t a, std::int32_t b) { return Narrow(std::int64_t{a} - b); }

}  // namespace checked_int_detail

#if defined(__GNUC__) || defined(__clang__)

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

#else

inline std::int32_t CheckedAdd(std::int32_t a, std::int32_t b) { return checked_int_detail::WideAdd(a, b); }
inline std::int32_t CheckedSub(std::int32_t a, std::int32_t b) { return checked_int_detail::WideSub(a, b); }

#endif

}  // namespace trelvano
