#include <gtest/gtest.h>

#include <string>

#include "plot/SegmentClipper.h"

namespace trelvano::plot {
namespace {

struct ClipCase {
    const char* name;
    double x1, y1, x2, y2;
    bool kept;
    double cx1, cy1, cx2, cy2;  // what is left, when kept
};

class ClipToGuardBox : public ::testing::TestWithParam<ClipCase> {};

TEST_P(ClipToGuardBox, KeepsOnlyThePartInside)
{
    const ClipCase c = GetParam();
    double x1 = c.x1;
    double y1 = c.y1;
    double x2 = c.x2;
    double y2 = c.y2;
    ASSERT_EQ(ClipSegment(x1, y1, x2, y2, GuardBox), c.kept);
    if (c.kept) {
        EXPECT_NEAR(x1, c.cx1, 1e-9);
        EXPECT_NEAR(y1, c.cy1, 1e-9);
        EXPECT_NEAR(x2, c.cx2, 1e-9);
        EXPECT_NEAR(y2, c.cy2, 1e-9);
    }
}

// GuardBox is -100..200 on both axes.
INSTANTIATE_TEST_SUITE_P(
    Segments, ClipToGuardBox,
    ::testing::Values(ClipCase{"inside", 0.1, 0.2, 99.9, 95.0, true, 0.1, 0.2, 99.9, 95.0},
                      ClipCase{"outRight", 0, 50, 400, 150, true, 0, 50, 200, 100},
                      ClipCase{"outBothEnds", -300, 0, 300, 0, true, -100, 0, 200, 0},
                      ClipCase{"hugeEnd", 0, 95, 1e30, 50, true, 0, 95, 200, 95},
                      ClipCase{"hugeBothSides", -1e300, 50, 1e300, 50, true, -100, 50, 200, 50},
                      ClipCase{"whollyRight", 250, 0, 1e30, 10, false, 0, 0, 0, 0},
                      ClipCase{"verticalOutside", 300, 0, 300, 90, false, 0, 0, 0, 0},
                      ClipCase{"pointInside", 5, 5, 5, 5, true, 5, 5, 5, 5},
                      ClipCase{"pointOutside", 5, 500, 5, 500, false, 0, 0, 0, 0},
                      ClipCase{"missesCorner", 150, 300, 300, 150, false, 0, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace trelvano::plot
