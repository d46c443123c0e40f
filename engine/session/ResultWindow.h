#pragma once

#include <cstdint>
#include <span>

#include "engine/forms/FormTable.h"
#include "plot/RasterCanvas.h"

namespace trelvano {

// A result window as the session keeps it: its Picture1 drawn into memory,
// whether it is on screen, and whether its image changed since the front end
// last heard.
class ResultWindow final : public plot::Canvas {
public:
    // `ratio`, device pixels per layout pixel, is the session's and is read
    // anew at each blanking: an image made after it changed takes the new one.
    ResultWindow(const Form& form, const double& ratio);

    using plot::Canvas::Scale;
    void Scale(double x1, double y1, double x2, double y2) override;
    void Line(float x1, float y1, float x2, float y2, plot::Rgb colour) override;
    void Blank() override;
    plot::PixelSize Pixels() const override { return canvas_.Pixels(); }

    const Form& form() const { return form_; }
    // Picture1's size in layout pixels, which a pointer position is taken in.
    plot::PixelSize LayoutSize() const { return layout_; }
    const plot::PlotCorners& Corners() const { return canvas_.Corners(); }
    // Device pixels per layout pixel of the image as it stands.
    double Ratio() const { return madeAt_; }
    std::span<const std::uint8_t> Rgba() const { return canvas_.Rgba(); }

    bool visible = false;
    bool changed = true;

private:
    const Form& form_;
    const double& ratio_;
    double madeAt_;
    plot::PixelSize layout_;
    plot::Rgb background_;
    plot::RasterCanvas canvas_;
};

}  // namespace trelvano
