#include "ColumnMerger.h"

#include <algorithm>

#include "SegmentClipper.h"

namespace trelvano::plot {

TraceColumnMerger::TraceColumnMerger(Canvas& canvas, Rgb colour)
    : canvas_(canvas), colour_(colour), grid_(canvas.Pixels())
{
}

void TraceColumnMerger::AddPoint(std::optional<PlotPoint> point)
{
    if (!point) {
        FlushRun();
        previous_.reset();
        return;
    }
    if (!grid_.Merging()) {
        if (previous_) {
            DrawClippedLine(canvas_, *previous_, *point, colour_);
        }
        previous_ = point;
        return;
    }
    const DevicePoint device = grid_.ToDevice(*point);
    if (!previous_) {
        StartRun(*point, device);
        return;
    }
    if (!(device.x >= runColumn_ && device.x < runColumn_ + 1.0)) {
        FlushRun();
        DrawClippedLine(canvas_, *previous_, *point, colour_);
        StartRun(*point, device);
        return;
    }
    ++runSegments_;
    if (runSegments_ <= LooseSegments) {
        runStart_[static_cast<std::size_t>(runSegments_)] = *point;
    }
    runRows_.Add(previousDevice_, device);
    previous_ = point;
    previousDevice_ = device;
}

void TraceColumnMerger::Finish()
{
    FlushRun();
    previous_.reset();
}

void TraceColumnMerger::StartRun(PlotPoint point, DevicePoint device)
{
    previous_ = point;
    previousDevice_ = device;
    runColumn_ = FloorOf(device.x);
    runRows_ = ColumnRows(runColumn_);
    runSegments_ = 0;
    runStart_[0] = point;
}

void TraceColumnMerger::FlushRun()
{
    if (runSegments_ <= LooseSegments) {
        for (int s = 0; s < runSegments_; ++s) {
            const auto i = static_cast<std::size_t>(s);
            DrawClippedLine(canvas_, runStart_[i], runStart_[i + 1], colour_);
        }
    } else if (runRows_.First() <= runRows_.Last()) {
        // Down the middle of the column from the top edge of the first row to
        // the bottom edge of the last: it lights exactly those rows.
        const double x = runColumn_ + 0.5;
        DrawClippedLine(canvas_, grid_.ToPlot({x, runRows_.First()}), grid_.ToPlot({x, runRows_.Last() + 1.0}),
                        colour_);
    }
    runSegments_ = 0;
}

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
