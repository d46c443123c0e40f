#pragma once

#include <cstdint>
#include <span>

#include "engine/CursorReadout.h"
#include "engine/forms/FormTable.h"
#include "plot/RasterCanvas.h"

namespace trelvano::web {

// A result window as the page sees it: its Picture1 drawn into memory, the
// user coordinates last set on it, whether it is on screen, and what changed
// since the page last fetched its image. The lines are counted from the last
// blanking, for the figures a press leaves.
class PlotWindow final : public plot::Canvas {
public:
    // `ratio` is read anew at each blanking: an image made after a change of
    // device pixel ratio takes the new one.
    PlotWindow(const Form& form, const double& ratio);

    void Scale(double x1, double y1, double x2, double y2) override;
    void Line(float x1, float y1, float x2, float y2, plot::Rgb colour) override;
    void Blank() override;
    plot::PixelSize Pixels() const override { return canvas_.Pixels(); }

    const Form& form() const { return form_; }
    // Picture1's size in layout pixels, which a pointer position is taken in.
    plot::PixelSize LayoutSize() const { return layout_; }
    const PlotCorners& Corners() const { return corners_; }
    std::span<const std::uint8_t> Rgba() const { return canvas_.Rgba(); }
    std::int64_t Lines() const { return lines_; }

    bool visible = false;
    // The image differs from the one the page last heard of.
    bool changed = true;

private:
    const Form& form_;
    const double& ratio_;
    double madeAt_;
    plot::PixelSize layout_;
    plot::Rgb background_;
    plot::RasterCanvas canvas_;
    PlotCorners corners_{};
    std::int64_t lines_ = 0;
};

}  // namespace trelvano::web
