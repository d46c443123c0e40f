#pragma once

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

}  // namespace trelvano::plot
