#include "StemColumnMerger.h"

#include <algorithm>

#include "ClipSegment.h"
#include "FloorOf.h"

namespace trelvano::plot {

StemColumnMerger::StemColumnMerger(Canvas& canvas, Rgb colour)
    : canvas_(canvas), colour_(colour), grid_(canvas.Pixels())
{
}

void StemColumnMerger::Add(float x, float height)
{
    if (!grid_.Merging()) {
        DrawClippedLine(canvas_, PlotPoint{x, 0.0F}, PlotPoint{x, height}, colour_);
        return;
    }
    const double column = FloorOf(grid_.ToDevice(PlotPoint{x, 0.0F}).x);
    if (groupSize_ > 0 && column == groupColumn_) {
        ++groupSize_;
        groupLow_ = std::min(groupLow_, height);
        groupHigh_ = std::max(groupHigh_, height);
        return;
    }
    Flush();
    groupSize_ = 1;
    groupColumn_ = column;
    groupFirst_ = PlotPoint{x, height};
    groupLow_ = height;
    groupHigh_ = height;
}

void StemColumnMerger::Finish()
{
    Flush();
}

void StemColumnMerger::Flush()
{
    if (groupSize_ == 0) {
        return;
    }
    if (groupSize_ == 1 || groupLow_ == groupHigh_) {
        // Every line of the group lights the same pixels as the first one.
        DrawClippedLine(canvas_, PlotPoint{groupFirst_.x, 0.0F}, groupFirst_, colour_);
    } else {
        // One line over the union of the group's lines: each rises from the
        // zero level, so the union runs from 0 to the farthest end on either
        // side. Down the middle of the column, so that it stays in it.
        const float x = grid_.ToPlot({groupColumn_ + 0.5, 0.0}).x;
        PlotPoint from{x, 0.0F};
        PlotPoint to{x, groupHigh_ > 0.0F ? groupHigh_ : groupLow_};
        if (groupLow_ < 0.0F && groupHigh_ > 0.0F) {
            from.y = groupLow_;
        }
        DrawClippedLine(canvas_, from, to, colour_);
    }
    groupSize_ = 0;
}

}  // namespace trelvano::plot
