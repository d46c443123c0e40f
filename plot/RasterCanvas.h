#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "Canvas.h"
#include "PixelGrid.h"

namespace trelvano::plot {

// A plot drawn into plain memory, for front ends that have no painter of their
// own: the same pixels as the desktop's plot surface, which paints aliased
// one-pixel lines into an image of its size. The image is RGBA, 8 bits a
// channel, row-major with the top row first, every pixel opaque.
//
// On a screen with more device pixels per layout pixel the image has as many
// more pixels a side and the lines stay one of them wide: the plot is drawn as
// the desktop would draw it on a surface of that many pixels, so it stays sharp
// and holds only the background and the line colours.
class RasterCanvas : public Canvas {
public:
    using Canvas::Scale;
    // `size` in layout pixels; the image has size × devicePixelRatio of them,
    // rounded. Set to plot coordinates and blank from the start.
    RasterCanvas(PixelSize size, Rgb background, double devicePixelRatio = 1.0);

    // Corners that give no width or no height leave the system in force.
    void Scale(double x1, double y1, double x2, double y2) override;
    void Line(float x1, float y1, float x2, float y2, Rgb colour) override;
    void Blank() override;
    // The image's own pixels, so that the passes merge the columns it has.
    PixelSize Pixels() const override { return image_; }

    std::span<const std::uint8_t> Rgba() const { return rgba_; }
    // The pixel at column x, row y, both inside the image.
    Rgb At(int x, int y) const;
    // The image column a vertical line at user x lights, which may lie outside the image.
    std::int64_t ColumnOf(float x) const;
    // The user coordinates in force, which a pointer over the image is read in.
    const PlotCorners& Corners() const { return corners_; }

private:
    void Step(DevicePoint from, DevicePoint to, Rgb colour);
    void Put(std::int64_t x, std::int64_t y, Rgb colour);

    PixelSize image_;
    Rgb background_;
    std::vector<std::uint8_t> rgba_;
    PlotCorners corners_;
    // User coordinates to image pixels: x · scale + offset on each axis.
    double xScale_ = 1.0;
    double xOffset_ = 0.0;
    double yScale_ = 1.0;
    double yOffset_ = 0.0;
};

}  // namespace trelvano::plot
