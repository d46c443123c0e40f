#include "engine/NumberFormat.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace trelvano {
namespace {

struct FormatCase {
    const char* name;
    double value;
    std::string fixed;       // "0.00" with "." as separator
    std::string scientific;  // "0.00E+00" with "." as separator
};

std::string PrintName(const testing::TestParamInfo<FormatCase>& info)
{
    return info.param.name;
}

class NumberFormatTable : public testing::TestWithParam<FormatCase> {};

TEST_P(NumberFormatTable, FixedTwoDecimals)
{
    EXPECT_EQ(FormatFixed2(GetParam().value, "."), GetParam().fixed);
}

TEST_P(NumberFormatTable, ScientificTwoDecimals)
{
    EXPECT_EQ(FormatScientific2(GetParam().value, "."), GetParam().scientific);
}

constexpr double Inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Values, NumberFormatTable,
    testing::Values(
        FormatCase{"Zero", 0.0, "0.00", "0.00E+00"},
        FormatCase{"NegativeZero", -0.0, "0.00", "0.00E+00"},
        FormatCase{"One", 1.0, "1.00", "1.00E+00"},
        FormatCase{"PeakVolts", 37.5, "37.50", "3.75E+01"},
        FormatCase{"NegativePeakVolts", -37.5, "-37.50", "-3.75E+01"},
        FormatCase{"CarrierHertz", 30000.0, "30000.00", "3.00E+04"},
        FormatCase{"Small", 0.0000123, "0.00", "1.23E-05"},
        FormatCase{"NegativeSmall", -0.0000123, "0.00", "-1.23E-05"},
        FormatCase{"RoundsUpInLastDigit", 1.2345, "1.23", "1.23E+00"},
        FormatCase{"HalfInThirdDecimal", 0.125, "0.13", "1.25E-01"},
        // 2.675 is held as 2.67499999999999982236431605997495353221893310546875.
        FormatCase{"HeldJustBelowHalf", 2.675, "2.67", "2.67E+00"},
        FormatCase{"NegativeHalf", -0.125, "-0.13", "-1.25E-01"},
        FormatCase{"CarryIntoNewDigit", 999.999, "1000.00", "1.00E+03"},
        FormatCase{"CarryInMantissa", 9.996, "10.00", "1.00E+01"},
        FormatCase{"JustBelowHundredth", 0.00499, "0.00", "4.99E-03"},
        FormatCase{"HalfHundredth", 0.005, "0.01", "5.00E-03"},
        FormatCase{"NegativeRoundsToZero", -0.004, "0.00", "-4.00E-03"},
        FormatCase{"NegativeRoundsToHundredth", -0.005, "-0.01", "-5.00E-03"},
        // Fixed point never turns to an exponent: every digit of the held value shows.
        FormatCase{"ThreeDigitExponent", 1e100,
                   "1000000000000000015902891109759918046836080856394528138978132755"
                   "7747838772170381060813469985856815104.00",
                   "1.00E+100"},
        FormatCase{"NegativeThreeDigitExponent", 1.5e-300, "0.00", "1.50E-300"},
        FormatCase{"SmallestSubnormal", 5e-324, "0.00", "4.94E-324"},
        FormatCase{"NoGrouping", 1234567.891, "1234567.89", "1.23E+06"},
        FormatCase{"NotFinite", Inf, "n.d.", "n.d."},
        FormatCase{"NegativeNotFinite", -Inf, "n.d.", "n.d."},
        FormatCase{"NotANumber", std::numeric_limits<double>::quiet_NaN(), "n.d.", "n.d."}),
    PrintName);

TEST(FormatFixed2, LargestDoubleShowsAllItsIntegerDigits)
{
    const std::string text = FormatFixed2(std::numeric_limits<double>::max(), ".");
    ASSERT_EQ(text.size(), 309u + 3u);
    EXPECT_EQ(text.substr(0, 17), "17976931348623157");
    EXPECT_EQ(text.substr(309), ".00");
    EXPECT_EQ(FormatScientific2(-std::numeric_limits<double>::max(), "."), "-1.80E+308");
}

TEST(NumberFormat, UsesTheGivenDecimalSeparator)
{
    EXPECT_EQ(FormatFixed2(37.5, ","), "37,50");
    EXPECT_EQ(FormatScientific2(-37.5, ","), "-3,75E+01");
    EXPECT_EQ(FormatFixed2(0.0, ","), "0,00");
    // A separator of more than one byte (U+066B, Arabic decimal separator).
    EXPECT_EQ(FormatFixed2(1.5, "\u066B"), "1\u066B50");
    EXPECT_EQ(FormatScientific2(1.5, "\u066B"), "1\u066B50E+00");
    // The separator never reaches a text that has no number.
    EXPECT_EQ(FormatFixed2(std::numeric_limits<double>::infinity(), ","), "n.d.");
}

}  // namespace
}  // namespace trelvano
