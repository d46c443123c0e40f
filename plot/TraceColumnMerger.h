#pragma once

#include <array>
#include <cstdint>
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

    // Points first..last of the polyline, point(i) each (none breaks it: no
    // segment to or from it). A run of hundreds of samples per column is the
    // common case at large N: while the points stay in the run's column, the
    // run is kept in locals and only its rows are gathered; every other point
    // goes through AddPoint.
    template <class PointAt>
    void AddEach(std::int64_t first, std::int64_t last, const PointAt& pointAt)
    {
        for (std::int64_t i = first; i <= last;) {
            std::optional<PlotPoint> point = pointAt(i++);
            DevicePoint device{};
            if (point && previous_ && grid_.Merging()) device = grid_.ToDevice(*point);
            if (!point || !previous_ || !grid_.Merging() || !InRunColumn(device)) {
                AddPoint(point);
                continue;
            }
            ColumnRows rows = runRows_;
            DevicePoint before = previousDevice_;
            PlotPoint taken = *point;
            int segments = runSegments_;
            bool left = false;  // a point was read that the run does not take
            for (;;) {
                if (++segments <= LooseSegments) runStart_[static_cast<std::size_t>(segments)] = taken;
                rows.Add(before, device);
                before = device;
                if (i > last) break;
                point = pointAt(i++);
                if (point) device = grid_.ToDevice(*point);
                if (!point || !InRunColumn(device)) {
                    left = true;
                    break;
                }
                taken = *point;
            }
            runRows_ = rows;
            previousDevice_ = before;
            previous_ = taken;
            runSegments_ = segments;
            if (left) AddPoint(point);
        }
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
    bool InRunColumn(DevicePoint device) const { return device.x >= runColumn_ && device.x < runColumn_ + 1.0; }
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
