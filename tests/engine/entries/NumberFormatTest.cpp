#include "engine/entries/NumberFormat.h"

#include <gtest/gtest.h>

#include <limits>

namespace trelvano {
namespace {

TEST(NumberFormat, FixedAndScientificTwoDecimals)
{
    const struct { const char* name; double value; const char *separator, *fixed, *scientific; } rows[] = {
        {"PeakVolts", 37.5, ".", "37.50", "3.75E+01"},
        {"ZeroWithoutMinus", -0.0, ".", "0.00", "0.00E+00"},
        {"NegativeRoundsToZero", -0.004, ".", "0.00", "-4.00E-03"},
        {"HalfRoundsAway", -0.125, ".", "-0.13", "-1.25E-01"},
        {"HeldJustBelowHalf", 2.675, ".", "2.67", "2.67E+00"},
        {"CarryIntoNewDigit", 999.999, ".", "1000.00", "1.00E+03"},
        {"ThreeDigitExponent", 1.5e-300, ".", "0.00", "1.50E-300"},
        {"ItalianSeparator", -37.5, ",", "-37,50", "-3,75E+01"},
        {"Infinite", -std::numeric_limits<double>::infinity(), ",", "n.d.", "n.d."},
        {"NotANumber", std::numeric_limits<double>::quiet_NaN(), ".", "n.d.", "n.d."},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FormatFixed2(row.value, row.separator), row.fixed) << row.name;
        EXPECT_EQ(FormatScientific2(row.value, row.separator), row.scientific) << row.name;
    }
}

}  // namespace
}  // namespace trelvano
