#pragma once

#include <array>
#include <optional>

#include "Canvas.h"
#include "ColumnRows.h"
#include "PixelGrid.h"
#include "PlotPoint.h"

namespace trelvano::plot {

// Draws a polyline point by point. On a canvas with pixels, the segments
// between consecutive points in the same pixel column collapse into one
// vertical line over the rows they would light there; the segments that join
// one column to the next are drawn as they are, so the trace stays connected
// and looks as if every segment had been drawn.
class TraceColumnMerger {
public:
    TraceColumnMerger(Canvas& canvas, Rgb colour);

    // Next point of the polyline; nothing breaks it (no segment to or from it).
    // A run of hundreds of samples per column is the common case at large N:
    // that step is inline, everything else goes through AddPoint.
    void Add(std::optional<PlotPoint> point)
    {
        if (point && previous_ && grid_.Merging()) {
            const DevicePoint device = grid_.ToDevice(*point);
            if (device.x >= runColumn_ && device.x < runColumn_ + 1.0) {
                ExtendRun(*point, device);
                return;
            }
        }
        AddPoint(point);
    }
    // Draws what is still held. Call once after the last point.
    void Finish();

private:
    // Up to this many segments inside one column are drawn one by one: merging
    // so few saves nothing.
    static constexpr int LooseSegments = 2;

    // A point that starts, breaks or leaves the current column, or any point
    // when nothing is merged.
    void AddPoint(std::optional<PlotPoint> point);
    void ExtendRun(PlotPoint point, DevicePoint device)
    {
        ++runSegments_;
        if (runSegments_ <= LooseSegments) {
            runStart_[static_cast<std::size_t>(runSegments_)] = point;
        }
        runRows_.Add(previousDevice_, device);
        previous_ = point;
        previousDevice_ = device;
    }
    void StartRun(PlotPoint point, DevicePoint device);
    void FlushRun();

    Canvas& canvas_;
    Rgb colour_;
    PixelGrid grid_;
    std::optional<PlotPoint> previous_;
    DevicePoint previousDevice_{};
    double runColumn_ = 0.0;
    ColumnRows runRows_{0.0};
    // Segments inside the current column so far, and their first points.
    int runSegments_ = 0;
    std::array<PlotPoint, LooseSegments + 1> runStart_{};
};

}  // namespace trelvano::plot
