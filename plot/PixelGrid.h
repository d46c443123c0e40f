#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "Canvas.h"
#include "PlotPoint.h"

namespace trelvano::plot {

// A point in device pixels: x to the right, y downwards, pixel (c, r) covering
// [c, c + 1) × [r, r + 1).
struct DevicePoint {
    double x = 0.0;
    double y = 0.0;
};

// The device pixels of a canvas set to plot coordinates (x 0..100 across the
// width, y 0..100 up the height), as Canvas describes them.
class PixelGrid {
public:
    explicit PixelGrid(PixelSize pixels);

    // False for a canvas that asks for every segment ({0, 0}).
    bool Merging() const { return xScale_ > 0.0; }

    DevicePoint ToDevice(PlotPoint point) const { return {point.x * xScale_, point.y * yScale_ + height_}; }
    PlotPoint ToPlot(DevicePoint point) const;

private:
    double height_ = 0.0;
    double xScale_ = 0.0;  // device pixels per plot unit, rightwards
    double yScale_ = 0.0;  // the same downwards, so negative
};

// floor(v), without the library call that a plain x86-64 build makes of
// std::floor.
inline double FloorOf(double v)
{
    if (!(std::fabs(v) < 4.0e15)) {
        return std::floor(v);  // already whole, or not a number at all
    }
    const auto whole = static_cast<double>(static_cast<std::int64_t>(v));
    return whole > v ? whole - 1.0 : whole;
}

// The pixel rows of one column that a run of one-pixel aliased segments, all
// ends inside that column, lights. The painter samples at pixel centres: a
// steep segment lights the rows whose centre line it crosses; a shallow one
// the columns whose centre line it crosses, in the row where it is there; a
// segment of no length the pixel nearest its point. The steep segments of a
// run are summed up by their extent, which lights the same rows unless the
// run's end crosses a row centre only along a shallow stretch.
class ColumnRows {
public:
    explicit ColumnRows(double column) : column_(column) {}

    void Add(DevicePoint a, DevicePoint b)
    {
        const double dx = std::fabs(b.x - a.x);
        const double dy = std::fabs(b.y - a.y);
        if (dx < dy) {
            steepTop_ = std::min(steepTop_, std::min(a.y, b.y));
            steepBottom_ = std::max(steepBottom_, std::max(a.y, b.y));
        } else {
            AddShallow(a, b, dx);
        }
    }

    // First and last row lit; first > last when none is.
    double First() const;
    double Last() const;

private:
    void AddShallow(DevicePoint a, DevicePoint b, double dx);

    double column_;
    double steepTop_ = std::numeric_limits<double>::infinity();
    double steepBottom_ = -std::numeric_limits<double>::infinity();
    double firstRow_ = std::numeric_limits<double>::infinity();
    double lastRow_ = -std::numeric_limits<double>::infinity();
};

}  // namespace trelvano::plot
