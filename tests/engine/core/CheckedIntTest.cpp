#include "engine/core/CheckedInt.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace trelvano {
namespace {

using Op = std::function<std::int32_t(std::int32_t, std::int32_t)>;

std::optional<std::int32_t> Result(const Op& op, std::int32_t a, std::int32_t b)
{
    try {
        return op(a, b);
    } catch (const RuntimeFault& fault) {
        EXPECT_EQ(fault.kind(), FaultKind::Overflow);
        return std::nullopt;
    }
}

// The compiler-builtin path and the portable 64-bit path must agree at the edges
// of the range, where one wrong comparison would let a wrapped index through.
TEST(CheckedInt, BothPathsAgreeAtTheEdges)
{
    constexpr std::int32_t kMax = INT32_MAX, kMin = INT32_MIN;
    const struct { const char* name; Op checked; Op portable; std::int32_t a, b; std::optional<std::int32_t> want; } rows[] = {
        {"AddToMax", CheckedAdd, checked_int_detail::WideAdd, kMax - 1, 1, kMax},
        {"AddPastMax", CheckedAdd, checked_int_detail::WideAdd, kMax, 1, std::nullopt},
        {"AddPastMin", CheckedAdd, checked_int_detail::WideAdd, kMin, -1, std::nullopt},
        {"SubToMin", CheckedSub, checked_int_detail::WideSub, kMin + 1, 1, kMin},
        {"SubPastMin", CheckedSub, checked_int_detail::WideSub, kMin, 1, std::nullopt},
        {"SubMinFromZero", CheckedSub, checked_int_detail::WideSub, 0, kMin, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Result(row.checked, row.a, row.b), row.want);
        EXPECT_EQ(Result(row.portable, row.a, row.b), row.want);
    }
}

}  // namespace
}  // namespace trelvano
