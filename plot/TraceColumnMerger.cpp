#include "TraceColumnMerger.h"

#include "ClipSegment.h"
#include "FloorOf.h"

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
    if (previous_) {
        FlushRun();
        DrawClippedLine(canvas_, *previous_, *point, colour_);
    }
    StartRun(*point, device);
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

}  // namespace trelvano::plot
