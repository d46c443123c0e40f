#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "engine/PlotDrawing.h"
#include "engine/forms/FormTable.h"
#include "plot/RasterCanvas.h"

namespace trelvano {

// Where a plot stands on screen: its size in layout pixels, which a pointer
// position is taken in, and the device pixels per layout pixel of its image.
struct PlotScreen {
    plot::PixelSize layout;
    double ratio = 1.0;
    friend bool operator==(const PlotScreen& a, const PlotScreen& b)
    {
        return a.layout.width == b.layout.width && a.layout.height == b.layout.height && a.ratio == b.ratio;
    }
};

// Picture1's size as the form lays it out, at the given ratio.
PlotScreen FormPlotScreen(const Form& form, double ratio);

// A point of a plot in its own coordinates, for the readout, and in layout
// pixels from its top-left corner, where a front end marks it.
struct CursorPlace {
    double x = 0.0;
    double y = 0.0;
    double px = 0.0;
    double py = 0.0;
};

// A result window as the session keeps it: its Picture1 drawn into memory,
// whether it is on screen, and whether its image changed since the front end
// last heard, which it hears only while the window is on screen.
class ResultWindow final : public plot::Canvas {
public:
    // `screen` is the session's and is read anew at each blanking: an image
    // made after it changed takes the new size and ratio.
    ResultWindow(const Form& form, const PlotScreen& screen);

    using plot::Canvas::Scale;
    void Scale(double x1, double y1, double x2, double y2) override;
    void Line(float x1, float y1, float x2, float y2, plot::Rgb colour) override;
    void Blank() override;
    plot::PixelSize Pixels() const override { return canvas_.Pixels(); }

    const Form& form() const { return form_; }
    plot::PixelSize LayoutSize() const { return made_.layout; }
    const plot::PlotCorners& Corners() const { return canvas_.Corners(); }
    // Device pixels per layout pixel of the image as it stands.
    double Ratio() const { return made_.ratio; }
    std::span<const std::uint8_t> Rgba() const { return canvas_.Rgba(); }
    const plot::RasterCanvas& Image() const { return canvas_; }
    // True when the screen no longer matches the image.
    bool Stale() const { return !(made_ == screen_); }

    bool visible = false;
    bool changed = true;
    // The run its plot shows, once one completed on it; none while blank.
    std::optional<DrawnRun> drawn;
    // The keyboard cursor, set by the last readout.
    std::optional<CursorPlace> cursor;
    // What the plot shows, in words, as the front end last heard it.
    std::string description;

private:
    const Form& form_;
    const PlotScreen& screen_;
    PlotScreen made_;
    plot::Rgb background_;
    plot::RasterCanvas canvas_;
};

}  // namespace trelvano
