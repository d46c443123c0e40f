#include "RasterCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace trelvano::plot {

namespace {

// The desktop painter steps a line in fixed point: end points in 26.6, cut
// towards zero, the coordinate across the line in 16.16. Its pixels follow
// from that arithmetic, so it is done here the same way, in 64 bits.
std::int64_t Fixed(double v)
{
    return static_cast<std::int64_t>(v * 64.0);
}

// Round half away from zero, as the painter places a point.
double RoundAway(double v)
{
    return v >= 0.0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5);
}

struct Margin {
    double xmin, xmax, ymin, ymax;
};

// Before going to fixed point the painter cuts a line down to one pixel past
// the image on each side, in floating point, axis by axis and end by end; the
// cut ends are then cut to 26.6 like any other, which can move the pixels of
// the rest of the line, so the cuts are made in the same order and form.
bool CutToMargin(double& x1, double& y1, double& x2, double& y2, const Margin& m)
{
    if (x1 < m.xmin) {
        if (x2 <= m.xmin) return false;
        y1 += (y2 - y1) / (x2 - x1) * (m.xmin - x1);
        x1 = m.xmin;
    } else if (x1 > m.xmax) {
        if (x2 >= m.xmax) return false;
        y1 += (y2 - y1) / (x2 - x1) * (m.xmax - x1);
        x1 = m.xmax;
    }
    if (x2 < m.xmin) {
        y2 += (y2 - y1) / (x2 - x1) * (m.xmin - x2);
        x2 = m.xmin;
    } else if (x2 > m.xmax) {
        y2 += (y2 - y1) / (x2 - x1) * (m.xmax - x2);
        x2 = m.xmax;
    }
    if (y1 < m.ymin) {
        if (y2 <= m.ymin) return false;
        x1 += (x2 - x1) / (y2 - y1) * (m.ymin - y1);
        y1 = m.ymin;
    } else if (y1 > m.ymax) {
        if (y2 >= m.ymax) return false;
        x1 += (x2 - x1) / (y2 - y1) * (m.ymax - y1);
        y1 = m.ymax;
    }
    if (y2 < m.ymin) {
        x2 += (x2 - x1) / (y2 - y1) * (m.ymin - y2);
        y2 = m.ymin;
    } else if (y2 > m.ymax) {
        x2 += (x2 - x1) / (y2 - y1) * (m.ymax - y2);
        y2 = m.ymax;
    }
    return std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2);
}

// One pixel per whole step along the major axis: those whose centre lies in
// [start, end) whichever way the line runs, so a flat-capped line lights its
// first pixel and not its last. The minor coordinate is taken at the centre of
// the first step when it grows along the line and at its near edge when it
// shrinks, then moves by the rounded-down slope each step. put(major, minor).
template <typename Put>
void StepAlong(std::int64_t major1, std::int64_t minor1, std::int64_t major2, std::int64_t minor2, Put put)
{
    if (major1 > major2) {
        std::swap(major1, major2);
        std::swap(minor1, minor2);
    }
    const std::int64_t slope = (minor2 - minor1) * 65536 / (major2 - major1);
    const std::int64_t first = (major1 + 32) >> 6;
    const std::int64_t end = (major2 + 32) >> 6;
    std::int64_t minor = minor1 * 1024 + (((first * 64) + (slope > 0 ? 32 : 0) - major1) * slope >> 6);
    for (std::int64_t step = first; step < end; ++step) {
        put(step, minor >> 16);
        minor += slope;
    }
}

}  // namespace

RasterCanvas::RasterCanvas(PixelSize size, Rgb background, double devicePixelRatio) : background_(background)
{
    if (size.width > 0 && size.height > 0 && devicePixelRatio > 0.0) {
        image_ = {static_cast<int>(std::lround(size.width * devicePixelRatio)),
                  static_cast<int>(std::lround(size.height * devicePixelRatio))};
    }
    rgba_.resize(static_cast<std::size_t>(image_.width) * static_cast<std::size_t>(image_.height) * 4U);
    Blank();
    Scale(kPlotCorners);
}

void RasterCanvas::Scale(double x1, double y1, double x2, double y2)
{
    if (x1 == x2 || y1 == y2) {
        return;
    }
    corners_ = {x1, y1, x2, y2};
    xScale_ = image_.width / (x2 - x1);
    yScale_ = image_.height / (y2 - y1);
    xOffset_ = -x1 * xScale_;
    yOffset_ = -y1 * yScale_;
}

void RasterCanvas::Line(float x1, float y1, float x2, float y2, Rgb colour)
{
    const auto device = [&](float x, float y) {
        return DevicePoint{static_cast<double>(x) * xScale_ + xOffset_, static_cast<double>(y) * yScale_ + yOffset_};
    };
    Step(device(x1, y1), device(x2, y2), colour);
}

void RasterCanvas::Blank()
{
    // One pixel, then the filled part copied onto the rest, doubling: a few
    // block copies where a loop would store every byte on its own.
    const std::uint8_t pixel[4] = {background_.r, background_.g, background_.b, 255};
    const std::size_t size = rgba_.size();
    if (size < sizeof pixel) return;
    std::memcpy(rgba_.data(), pixel, sizeof pixel);
    for (std::size_t filled = sizeof pixel; filled < size; filled *= 2) {
        std::memcpy(rgba_.data() + filled, rgba_.data(), std::min(filled, size - filled));
    }
}

std::int64_t RasterCanvas::ColumnOf(float x) const
{
    // A vertical line's column is its minor coordinate as Step takes it.
    return (Fixed(static_cast<double>(x) * xScale_ + xOffset_) * 1024) >> 16;
}

Rgb RasterCanvas::At(int x, int y) const
{
    const std::size_t i =
        (static_cast<std::size_t>(y) * static_cast<std::size_t>(image_.width) + static_cast<std::size_t>(x)) * 4U;
    return {rgba_[i], rgba_[i + 1], rgba_[i + 2]};
}

void RasterCanvas::Step(DevicePoint from, DevicePoint to, Rgb colour)
{
    if (!std::isfinite(from.x) || !std::isfinite(from.y) || !std::isfinite(to.x) || !std::isfinite(to.y)) {
        return;
    }
    if (from.x == to.x && from.y == to.y) {
        // A line of no length is a point, in the pixel nearest it.
        const double x = RoundAway(from.x);
        const double y = RoundAway(from.y);
        if (x >= 0.0 && x < image_.width && y >= 0.0 && y < image_.height) {
            Put(static_cast<std::int64_t>(x), static_cast<std::int64_t>(y), colour);
        }
        return;
    }
    const Margin margin{-1.0, image_.width + 1.0, -1.0, image_.height + 1.0};
    if (!CutToMargin(from.x, from.y, to.x, to.y, margin)) {
        return;
    }
    const std::int64_t x1 = Fixed(from.x);
    const std::int64_t y1 = Fixed(from.y);
    const std::int64_t x2 = Fixed(to.x);
    const std::int64_t y2 = Fixed(to.y);
    const std::int64_t dx = x2 - x1;
    const std::int64_t dy = y2 - y1;
    if ((dx < 0 ? -dx : dx) < (dy < 0 ? -dy : dy)) {
        StepAlong(y1, x1, y2, x2, [&](std::int64_t y, std::int64_t x) { Put(x, y, colour); });
    } else if (dx != 0) {
        StepAlong(x1, y1, x2, y2, [&](std::int64_t x, std::int64_t y) { Put(x, y, colour); });
    }
}

void RasterCanvas::Put(std::int64_t x, std::int64_t y, Rgb colour)
{
    if (x < 0 || y < 0 || x >= image_.width || y >= image_.height) {
        return;
    }
    const auto i = static_cast<std::size_t>((y * image_.width + x) * 4);
    rgba_[i] = colour.r;
    rgba_[i + 1] = colour.g;
    rgba_[i + 2] = colour.b;
}

}  // namespace trelvano::plot
