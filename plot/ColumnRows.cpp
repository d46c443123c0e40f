#include "ColumnRows.h"

#include <utility>

#include "FloorOf.h"

namespace trelvano::plot {

double ColumnRows::First() const
{
    // The first row centre below the top (a centre exactly on it is not crossed).
    const double steep = steepTop_ <= steepBottom_ ? FloorOf(steepTop_ + 0.5) : steepTop_;
    return std::min(steep, firstRow_);
}

double ColumnRows::Last() const
{
    // The last row centre at or above the bottom.
    const double steep = steepTop_ <= steepBottom_ ? FloorOf(steepBottom_ + 0.5) - 1.0 : steepBottom_;
    return std::max(steep, lastRow_);
}

void ColumnRows::AddShallow(DevicePoint a, DevicePoint b, double dx)
{
    double row = 0.0;
    if (dx == 0.0) {
        if (FloorOf(a.x + 0.5) != column_) {
            return;  // its pixel is in the next column
        }
        row = FloorOf(a.y + 0.5);
    } else {
        if (a.x > b.x) {
            std::swap(a, b);
        }
        const double centre = column_ + 0.5;
        if (!(a.x < centre && centre <= b.x)) {
            return;
        }
        // Where the segment is taken to be in this column: at its centre going
        // down the screen, at its left edge going up, as the painter steps it.
        const double slope = (b.y - a.y) / (b.x - a.x);
        const double at = slope > 0.0 ? centre : column_;
        row = FloorOf(a.y + (at - a.x) * slope);
    }
    firstRow_ = std::min(firstRow_, row);
    lastRow_ = std::max(lastRow_, row);
}

}  // namespace trelvano::plot
