#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "RecordingCanvas.h"
#include "plot/ColumnMerger.h"

namespace trelvano::plot {
namespace {

using test::RecordedLine;
using test::RecordingCanvas;

// 1000 × 100 device pixels: plot x 0.1 is one pixel column, plot y 1 one row
// (device y = 100 − plot y).
constexpr PixelSize Grid{1000, 100};

std::vector<RecordedLine> Trace(PixelSize pixels, const std::vector<std::optional<PlotPoint>>& points)
{
    RecordingCanvas canvas(pixels);
    TraceColumnMerger trace(canvas, Black);
    for (const auto& point : points) {
        trace.Add(point);
    }
    trace.Finish();
    return canvas.lines;
}

void ExpectLine(const RecordedLine& line, float x1, float y1, float x2, float y2)
{
    EXPECT_NEAR(line.x1, x1, 1e-5F);
    EXPECT_NEAR(line.y1, y1, 1e-4F);
    EXPECT_NEAR(line.x2, x2, 1e-5F);
    EXPECT_NEAR(line.y2, y2, 1e-4F);
}

TEST(TraceColumnMerger, OnePointPerColumnIsDrawnAsGiven)
{
    std::vector<std::optional<PlotPoint>> points;
    for (int i = 0; i < 50; ++i) {
        points.push_back(PlotPoint{0.1F * static_cast<float>(i) + 0.05F, (i % 2 == 0) ? 20.0F : 70.0F});
    }
    const auto merged = Trace(Grid, points);
    const auto plain = Trace({}, points);
    ASSERT_EQ(merged.size(), plain.size());
    for (std::size_t i = 0; i < merged.size(); ++i) {
        ExpectLine(merged[i], plain[i].x1, plain[i].y1, plain[i].x2, plain[i].y2);
    }
}

TEST(TraceColumnMerger, DenseColumnsBecomeVerticalLinesJoinedAsGiven)
{
    // Ten points zigzagging in column 5 between device rows 40 and 90, then
    // ten in column 6 between rows 20 and 30.
    std::vector<std::optional<PlotPoint>> points;
    for (int i = 0; i < 10; ++i) {
        points.push_back(PlotPoint{0.5F + 0.009F * static_cast<float>(i), (i % 2 == 0) ? 60.0F : 10.0F});
    }
    for (int i = 0; i < 10; ++i) {
        points.push_back(PlotPoint{0.6F + 0.009F * static_cast<float>(i), (i % 2 == 0) ? 70.0F : 80.0F});
    }
    const auto lines = Trace(Grid, points);
    ASSERT_EQ(lines.size(), 3U);
    // Steep segments between device y 40 and 90 light rows 40..89: the line
    // runs from the top edge of row 40 to the bottom edge of row 89.
    ExpectLine(lines[0], 0.55F, 60.0F, 0.55F, 10.0F);
    ExpectLine(lines[1], 0.5F + 0.009F * 9.0F, 10.0F, 0.6F, 70.0F);  // the join, as given
    ExpectLine(lines[2], 0.65F, 80.0F, 0.65F, 70.0F);  // rows 20..29
}

TEST(TraceColumnMerger, LevelRunLightsTheRowItLiesIn)
{
    // Every point on device y 49.7 (a zero peak does this): only the shallow
    // segment that crosses the column's centre lights anything, in row 49.
    std::vector<std::optional<PlotPoint>> points;
    for (int i = 0; i < 10; ++i) {
        points.push_back(PlotPoint{0.3F + 0.0099F * static_cast<float>(i), 50.3F});
    }
    const auto lines = Trace(Grid, points);
    ASSERT_EQ(lines.size(), 1U);
    ExpectLine(lines[0], 0.35F, 51.0F, 0.35F, 50.0F);
}

TEST(TraceColumnMerger, AMissingPointBreaksTheTrace)
{
    const std::vector<std::optional<PlotPoint>> points{PlotPoint{10.0F, 10.0F}, PlotPoint{20.0F, 20.0F}, std::nullopt,
                                                       PlotPoint{30.0F, 30.0F}, PlotPoint{40.0F, 40.0F}};
    for (const PixelSize pixels : {PixelSize{}, Grid}) {
        const auto lines = Trace(pixels, points);
        ASSERT_EQ(lines.size(), 2U);
        ExpectLine(lines[0], 10.0F, 10.0F, 20.0F, 20.0F);
        ExpectLine(lines[1], 30.0F, 30.0F, 40.0F, 40.0F);
    }
}

std::vector<RecordedLine> Stems(const std::vector<PlotPoint>& stems)
{
    RecordingCanvas canvas(Grid);
    StemColumnMerger lines(canvas, Red);
    for (const PlotPoint& stem : stems) {
        lines.Add(stem.x, stem.y);
    }
    lines.Finish();
    return canvas.lines;
}

TEST(StemColumnMerger, LinesSharingAColumnBecomeTheirUnion)
{
    const auto up = Stems({{0.51F, 30.0F}, {0.53F, 80.0F}, {0.57F, 10.0F}});
    ASSERT_EQ(up.size(), 1U);
    ExpectLine(up[0], 0.55F, 0.0F, 0.55F, 80.0F);
    const auto down = Stems({{0.51F, -30.0F}, {0.53F, -5.0F}});
    ASSERT_EQ(down.size(), 1U);
    ExpectLine(down[0], 0.55F, 0.0F, 0.55F, -30.0F);
    const auto both = Stems({{0.51F, -30.0F}, {0.53F, 20.0F}});
    ASSERT_EQ(both.size(), 1U);
    ExpectLine(both[0], 0.55F, -30.0F, 0.55F, 20.0F);
}

TEST(StemColumnMerger, LinesAloneInTheirColumnAreDrawnAsGiven)
{
    const auto lines = Stems({{0.51F, 30.0F}, {0.62F, 80.0F}, {0.73F, 10.0F}, {0.74F, 10.0F}});
    ASSERT_EQ(lines.size(), 3U);
    ExpectLine(lines[0], 0.51F, 0.0F, 0.51F, 30.0F);
    ExpectLine(lines[1], 0.62F, 0.0F, 0.62F, 80.0F);
    ExpectLine(lines[2], 0.73F, 0.0F, 0.73F, 10.0F);  // equal heights: the first covers both
    EXPECT_EQ(lines[2].colour, Red);
}

}  // namespace
}  // namespace trelvano::plot
