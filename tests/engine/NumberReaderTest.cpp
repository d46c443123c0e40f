#include "engine/NumberReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/RuntimeFault.h"

namespace trelvano {
namespace {

struct ReadCase {
    const char* name;
    std::string text;
    double expected;
};

template <typename Case>
std::string PrintName(const testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

class ReadNumberTable : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadNumberTable, ReadsTheLeadingNumber)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(ReadNumber(c.text), c.expected) << "text: \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Decimal, ReadNumberTable,
    testing::Values(ReadCase{"Integer", "1000", 1000.0}, ReadCase{"Fraction", "4.05", 4.05},
                    ReadCase{"LeadingPoint", ".5", 0.5}, ReadCase{"TrailingPoint", "5.", 5.0},
                    ReadCase{"NegativeLeadingPoint", "-.5", -0.5}, ReadCase{"PlusSign", "+3", 3.0},
                    ReadCase{"DoubleSign", "--3", 0.0}, ReadCase{"SignOnly", "-", 0.0},
                    ReadCase{"PointOnly", ".", 0.0}, ReadCase{"SecondPointEnds", "1.2.3", 1.2},
                    ReadCase{"CommaEnds", "2,5", 2.0}, ReadCase{"CommaAfterPoint", "0.5,7", 0.5},
                    ReadCase{"LeadingComma", ",5", 0.0}, ReadCase{"Empty", "", 0.0},
                    ReadCase{"Letters", "abc", 0.0}, ReadCase{"TrailingLetters", "12abc", 12.0},
                    ReadCase{"LettersFirst", "x12", 0.0}, ReadCase{"NegativeZero", "-0", 0.0}),
    PrintName<ReadCase>);

INSTANTIATE_TEST_SUITE_P(
    Blanks, ReadNumberTable,
    testing::Values(ReadCase{"LeadingAndTrailing", "  30  ", 30.0}, ReadCase{"BetweenDigits", "1 000", 1000.0},
                    ReadCase{"BetweenSignAndDigits", "  -  4", -4.0}, ReadCase{"TabInside", "2\t5", 25.0},
                    ReadCase{"LineFeedInside", "3\n.5", 3.5}, ReadCase{"AroundPoint", "4 . 0 5", 4.05},
                    ReadCase{"InsideExponent", "1 e + 3", 1000.0}, ReadCase{"OnlyBlanks", " \t\n ", 0.0},
                    ReadCase{"CarriageReturnEnds", "7\r8", 7.0}),
    PrintName<ReadCase>);

INSTANTIATE_TEST_SUITE_P(
    Exponent, ReadNumberTable,
    testing::Values(ReadCase{"Lower", "1e3", 1000.0}, ReadCase{"UpperWithPlus", "1E+3", 1000.0},
                    ReadCase{"Negative", "25e-1", 2.5}, ReadCase{"AfterFraction", "1.5e2", 150.0},
                    ReadCase{"AfterLeadingPoint", ".5E1", 5.0}, ReadCase{"NoDigits", "1e", 1.0},
                    ReadCase{"SignNoDigits", "1e-", 1.0}, ReadCase{"PlusNoDigits", "7E+x", 7.0},
                    ReadCase{"ExponentWithoutMantissa", "e3", 0.0}, ReadCase{"PointThenExponent", ".e3", 0.0},
                    ReadCase{"SecondExponentEnds", "1e2e3", 100.0},
                    ReadCase{"FractionalExponentEnds", "1e2.5", 100.0},
                    ReadCase{"BelowSmallestDouble", "1e-400", 0.0},
                    ReadCase{"ZeroWithHugeExponent", "0e99999999999999999999", 0.0},
                    ReadCase{"LargestDouble", "1.7976931348623157e308", std::numeric_limits<double>::max()},
                    ReadCase{"Subnormal", "5e-324", std::numeric_limits<double>::denorm_min()}),
    PrintName<ReadCase>);

INSTANTIATE_TEST_SUITE_P(
    HexAndOctal, ReadNumberTable,
    testing::Values(ReadCase{"HexUpper", "&HFF", 255.0}, ReadCase{"HexLowerPrefix", "&hff", 255.0},
                    ReadCase{"HexMixedDigits", "&H1aB", 427.0}, ReadCase{"HexBlanks", " & H 1 0", 16.0},
                    ReadCase{"HexStopsAtNonDigit", "&H1G5", 1.0}, ReadCase{"HexNoDigits", "&H", 0.0},
                    ReadCase{"HexNeverNegative", "&HFFFFFFFF", 4294967295.0},
                    ReadCase{"HexBeyond53Bits", "&H20000000000001", 9007199254740992.0},
                    ReadCase{"HexNoPointOrSign", "&H-1", 0.0}, ReadCase{"OctalUpper", "&O17", 15.0},
                    ReadCase{"OctalLowerPrefix", "&o777", 511.0}, ReadCase{"OctalStopsAtEight", "&O178", 15.0},
                    ReadCase{"OctalBlanks", "&\tO 1 0", 8.0}, ReadCase{"OctalNoDigits", "&O", 0.0},
                    ReadCase{"SignBeforeAmpersand", "-&H10", 0.0}, ReadCase{"AmpersandAlone", "&", 0.0},
                    ReadCase{"AmpersandOtherLetter", "&X12", 0.0}),
    PrintName<ReadCase>);

TEST(ReadNumber, DecimalsAreCorrectlyRounded)
{
    // Each must be the double nearest the decimal, as the compiler reads it.
    EXPECT_EQ(ReadNumber("0.1"), 0.1);
    EXPECT_EQ(ReadNumber("4.05"), 4.05);
    EXPECT_EQ(ReadNumber("2.2250738585072014e-308"), 2.2250738585072014e-308);
    EXPECT_EQ(ReadNumber("9007199254740993"), 9007199254740992.0);  // tie goes to even
}

TEST(ReadNumber, NumbersBeyondDoubleRangeOverflow)
{
    const char* texts[] = {"1e400", "-1e400", "10e308", "1.8e308", "1e99999999999999999999"};
    for (const char* text : texts) {
        try {
            ReadNumber(text);
            ADD_FAILURE() << "no fault for " << text;
        } catch (const RuntimeFault& fault) {
            EXPECT_EQ(fault.kind(), FaultKind::Overflow) << text;
        }
    }
    const std::string hugeHex = "&H" + std::string(400, 'F');
    const std::string hugeOctal = "&O" + std::string(400, '7');
    for (const std::string& text : {hugeHex, hugeOctal}) {
        try {
            ReadNumber(text);
            ADD_FAILURE() << "no fault for a 400-digit integer";
        } catch (const RuntimeFault& fault) {
            EXPECT_EQ(fault.kind(), FaultKind::Overflow);
        }
    }
}

struct RoundCase {
    const char* name;
    double value;
    double expected;
};

class RoundHalfEvenTable : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEvenTable, RoundsToNearestWithTiesToEven)
{
    EXPECT_EQ(RoundHalfEven(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundHalfEvenTable,
    testing::Values(RoundCase{"TwoAndHalf", 2.5, 2.0}, RoundCase{"ThreeAndHalf", 3.5, 4.0},
                    RoundCase{"Half", 0.5, 0.0}, RoundCase{"OneAndHalf", 1.5, 2.0},
                    RoundCase{"MinusTwoAndHalf", -2.5, -2.0}, RoundCase{"MinusThreeAndHalf", -3.5, -4.0},
                    RoundCase{"MinusHalf", -0.5, 0.0}, RoundCase{"JustAboveHalf", 0.5000000000000001, 1.0},
                    RoundCase{"JustBelowHalf", 0.49999999999999994, 0.0}, RoundCase{"BelowHalfUp", 2.4, 2.0},
                    RoundCase{"AboveHalf", 2.6, 3.0}, RoundCase{"MinusAboveHalf", -2.6, -3.0},
                    RoundCase{"Whole", 7.0, 7.0}, RoundCase{"LargeWhole", 4503599627370497.0, 4503599627370497.0},
                    RoundCase{"LargestHalf", 4503599627370495.5, 4503599627370496.0}),
    PrintName<RoundCase>);

TEST(ToInt32HalfEven, ConvertsWithinTheRange)
{
    EXPECT_EQ(ToInt32HalfEven(1000.5), 1000);
    EXPECT_EQ(ToInt32HalfEven(1001.5), 1002);
    EXPECT_EQ(ToInt32HalfEven(-1000.5), -1000);
    EXPECT_EQ(ToInt32HalfEven(2147483647.0), 2147483647);
    EXPECT_EQ(ToInt32HalfEven(2147483647.4), 2147483647);
    EXPECT_EQ(ToInt32HalfEven(-2147483648.0), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ToInt32HalfEven(-2147483648.5), std::numeric_limits<std::int32_t>::min());
}

TEST(ToInt32HalfEven, OverflowsOutsideTheRange)
{
    const double outside[] = {2147483647.5, 2147483648.0, -2147483649.0, -2147483648.6, 1e10, -1e10,
                              std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
    for (double value : outside) {
        try {
            ToInt32HalfEven(value);
            ADD_FAILURE() << "no fault for " << value;
        } catch (const RuntimeFault& fault) {
            EXPECT_EQ(fault.kind(), FaultKind::Overflow) << value;
        }
    }
}

TEST(IsWholeNumber, FailsEveryFractionNegativesIncluded)
{
    EXPECT_TRUE(IsWholeNumber(2.0));
    EXPECT_TRUE(IsWholeNumber(0.0));
    EXPECT_TRUE(IsWholeNumber(-3.0));
    EXPECT_TRUE(IsWholeNumber(1e300));
    EXPECT_FALSE(IsWholeNumber(2.5));
    EXPECT_FALSE(IsWholeNumber(-2.5));
    EXPECT_FALSE(IsWholeNumber(0.4));
    EXPECT_FALSE(IsWholeNumber(-1e-300));
    EXPECT_FALSE(IsWholeNumber(4503599627370495.5));
}

}  // namespace
}  // namespace trelvano
