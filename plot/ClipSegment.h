#pragma once

#include "Canvas.h"
#include "PlotPoint.h"

namespace trelvano::plot {

// An axis-aligned box in plot coordinates.
struct ClipBox {
    double left = 0.0;
    double bottom = 0.0;
    double right = 0.0;
    double top = 0.0;
};

// Three times the visible square in each direction: anything beyond it is far
// off the surface, and a painter handed coordinates such as 1e30 either stalls
// on them or overflows its fixed-point arithmetic.
inline constexpr ClipBox GuardBox{-100.0, -100.0, 200.0, 200.0};

// Cuts the segment down to the part inside `box` (Liang–Barsky), in double
// precision. False when no part of it is inside. An end point already inside
// keeps its exact value, so a segment wholly inside is left untouched.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, const ClipBox& box);

// Hands the part of the segment inside GuardBox to the canvas, if there is one.
void DrawClippedLine(Canvas& canvas, PlotPoint from, PlotPoint to, Rgb colour);

}  // namespace trelvano::plot
