#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

#include "PixelGrid.h"

namespace trelvano::plot {

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
