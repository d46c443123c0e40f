#include "engine/entries/NumberFormat.h"
#include "engine/entries/NumberReader.h"

#include <gtest/gtest.h>

#include "tests/support/Faults.h"

namespace trelvano {
namespace {

using support::FaultOf;

TEST(ReadNumber, ReadsTheLeadingNumber)
{
    const struct { const char* name; const char* text; double expected; } rows[] = {
        {"SecondPointEnds", "1.2.3", 1.2}, {"TrailingGarbage", "12abc", 12.0}, {"TabInside", "2\t5", 25.0},
        {"LineFeedInside", "3\n.5", 3.5}, {"HexLowerCase", "&h1aBf", 6847.0}, {"EWithoutDigits", "1e", 1.0},
        {"BelowSmallestDouble", "1e-400", 0.0}, {"PlusSign", "+3", 3.0}, {"Empty", "", 0.0},
    };
    for (const auto& row : rows) EXPECT_EQ(ReadNumber(row.text), row.expected) << row.name;
}

TEST(Rounding, HalfToEvenAndTheInt32Limits)
{
    const struct { double value, expected; } rows[] = {
        {0.5, 0.0}, {1.5, 2.0}, {2.5, 2.0}, {-2.5, -2.0}, {-3.5, -4.0}, {-2.6, -3.0}, {0.49999999999999994, 0.0}};
    for (const auto& row : rows) EXPECT_EQ(RoundHalfEven(row.value), row.expected) << row.value;
    EXPECT_EQ(ToInt32HalfEven(2147483647.0), 2147483647);
    EXPECT_EQ(ToInt32HalfEven(-2147483648.0), -2147483647 - 1);
    for (double outside : {2147483647.5, -2147483649.0, 1e10}) {
        EXPECT_EQ(FaultOf([&] { ToInt32HalfEven(outside); }), FaultKind::Overflow) << outside;
    }
    EXPECT_TRUE(IsWholeNumber(-3.0));
    EXPECT_FALSE(IsWholeNumber(-2.5));
}

// The fuzz corpus, replayed against printf, holds the other cases.
TEST(NumberFormat, NegativeRoundingToZeroLosesItsMinus)
{
    EXPECT_EQ(FormatFixed2(-0.004, "."), "0.00");
    EXPECT_EQ(FormatScientific2(-0.004, "."), "-4.00E-03");
}

}  // namespace
}  // namespace trelvano
