#pragma once

#include "Canvas.h"
#include "PixelGrid.h"
#include "PlotPoint.h"

namespace trelvano::plot {

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
