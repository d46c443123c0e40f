#include "ClipSegment.h"

#include <array>

namespace trelvano::plot {

bool ClipSegment(double& x1, double& y1, double& x2, double& y2, const ClipBox& box)
{
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    // Entering and leaving parameters along the segment, one edge at a time:
    // p is the rate towards the outside of the edge, q the room left inside.
    const std::array<double, 4> p{-dx, dx, -dy, dy};
    const std::array<double, 4> q{x1 - box.left, box.right - x1, y1 - box.bottom, box.top - y1};
    double enter = 0.0;
    double leave = 1.0;
    std::size_t enterEdge = p.size();
    std::size_t leaveEdge = p.size();
    for (std::size_t edge = 0; edge < p.size(); ++edge) {
        if (p[edge] == 0.0) {
            if (q[edge] < 0.0) {
                return false;  // parallel to this edge and outside it
            }
            continue;
        }
        const double t = q[edge] / p[edge];
        if (p[edge] < 0.0 && t > enter) {
            enter = t;
            enterEdge = edge;
        } else if (p[edge] > 0.0 && t < leave) {
            leave = t;
            leaveEdge = edge;
        }
        if (enter > leave) {
            return false;
        }
    }
    // A cut end is put on its edge exactly: between end points as far apart
    // as 1e30 the interpolated value alone could be anywhere near the box.
    const std::array<double, 4> edges{box.left, box.right, box.bottom, box.top};
    const double startX = x1;
    const double startY = y1;
    const auto cut = [&](double t, std::size_t edge, double& x, double& y) {
        x = edge < 2 ? edges[edge] : startX + t * dx;
        y = edge < 2 ? startY + t * dy : edges[edge];
    };
    if (leaveEdge < p.size()) {
        cut(leave, leaveEdge, x2, y2);
    }
    if (enterEdge < p.size()) {
        cut(enter, enterEdge, x1, y1);
    }
    return true;
}

void DrawClippedLine(Canvas& canvas, PlotPoint from, PlotPoint to, Rgb colour)
{
    double x1 = from.x;
    double y1 = from.y;
    double x2 = to.x;
    double y2 = to.y;
    if (!ClipSegment(x1, y1, x2, y2, GuardBox)) {
        return;
    }
    canvas.Line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2), colour);
}

}  // namespace trelvano::plot
