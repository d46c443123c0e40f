#include "engine/entries/NumberFormat.h"

#include <gtest/gtest.h>

namespace trelvano {
namespace {

// The committed fuzz corpus, replayed against printf, holds the other cases.
TEST(NumberFormat, NegativeRoundingToZeroLosesItsMinus)
{
    EXPECT_EQ(FormatFixed2(-0.004, "."), "0.00");
    EXPECT_EQ(FormatScientific2(-0.004, "."), "-4.00E-03");
}

}  // namespace
}  // namespace trelvano
