#pragma once

#include <array>
#include <optional>

#include "Canvas.h"
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
        if (point && previous_ && runSegments_ >= LooseSegments) {
            const DevicePoint device = grid_.ToDevice(*point);
            if (device.x >= runColumn_ && device.x < runColumn_ + 1.0) {
                ++runSegments_;
                runRows_.Add(previousDevice_, device);
                previous_ = point;
                previousDevice_ = device;
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

    void AddPoint(std::optional<PlotPoint> point);
    void StartRun(PlotPoint point, DevicePoint device);
    void FlushRun();

    Canvas& canvas_;
    Rgb colour_;
    PixelGrid grid_;
    std::optional<PlotPoint> previous_;
    DevicePoint previousDevice_{};
    double runColumn_ = 0.0;
    ColumnRows runRows_{0.0};
    int runSegments_ = 0;  // segments inside the current column so far
    std::array<PlotPoint, LooseSegments + 1> runStart_{};  // its first points
};

// Draws vertical lines rising from the zero level, (x, 0)-(x, height). On a
// canvas with pixels, consecutive lines that share a pixel column become one
// line covering all of them: from 0 to the highest height, and down to the
// lowest one when some are negative.
class StemColumnMerger {
public:
    StemColumnMerger(Canvas& canvas, Rgb colour);

    void Add(float x, float height);
    // Draws what is still held. Call once after the last line.
    void Finish();

private:
    void Flush();

    Canvas& canvas_;
    Rgb colour_;
    PixelGrid grid_;
    int groupSize_ = 0;
    double groupColumn_ = 0.0;
    PlotPoint groupFirst_{};  // x and height of the first line of the group
    float groupLow_ = 0.0F;
    float groupHigh_ = 0.0F;
};

}  // namespace trelvano::plot
