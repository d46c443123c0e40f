#include "engine/entries/NumberReader.h"

#include <gtest/gtest.h>

#include "tests/support/Faults.h"

namespace trelvano {
namespace {

// Reading and showing numbers is checked against strtod and printf by the fuzz corpora's replay.
TEST(Rounding, HalfToEvenAndTheInt32Limits)
{
    const double rows[][2] = {
        {0.5, 0.0}, {1.5, 2.0}, {2.5, 2.0}, {-2.5, -2.0}, {-3.5, -4.0}, {-2.6, -3.0}, {0.49999999999999994, 0.0}};
    for (const auto& [value, expected] : rows) EXPECT_EQ(RoundHalfEven(value), expected) << value;
    EXPECT_EQ(ToInt32HalfEven(2147483647.0), 2147483647);
    EXPECT_EQ(ToInt32HalfEven(-2147483648.0), -2147483647 - 1);
    for (double outside : {2147483647.5, -2147483649.0, 1e10}) {
        EXPECT_EQ(support::FaultOf([&] { ToInt32HalfEven(outside); }), FaultKind::Overflow) << outside;
    }
    EXPECT_TRUE(IsWholeNumber(-3.0) && !IsWholeNumber(-2.5));
}

}  // namespace
}  // namespace trelvano
