#include "web/host/PlotWindow.h"

#include "engine/entries/EntryTable.h"

namespace trelvano::web {

namespace {

const Control& Picture1(const Form& form)
{
    // Both result windows' tables hold it; a table without one is a build fault.
    return *FindControl(form, "Picture1");
}

plot::PixelSize LayoutOf(const Control& picture)
{
    return {TwipsToPixels(picture.place.width), TwipsToPixels(picture.place.height)};
}

plot::Rgb BackgroundOf(const Control& picture)
{
    const Colour colour = picture.background.value_or(Colour{});
    return {colour.r, colour.g, colour.b};
}

}  // namespace

PlotWindow::PlotWindow(const Form& form, const double& ratio)
    : form_(form),
      ratio_(ratio),
      madeAt_(ratio),
      layout_(LayoutOf(Picture1(form))),
      background_(BackgroundOf(Picture1(form))),
      canvas_(layout_, background_, ratio)
{
}

void PlotWindow::Scale(double x1, double y1, double x2, double y2)
{
    // Kept as the canvas keeps it: corners with no width or no height change nothing.
    if (x1 != x2 && y1 != y2) corners_ = {x1, y1, x2, y2};
    canvas_.Scale(x1, y1, x2, y2);
}

void PlotWindow::Line(float x1, float y1, float x2, float y2, plot::Rgb colour)
{
    canvas_.Line(x1, y1, x2, y2, colour);
    ++lines_;
    changed = true;
}

void PlotWindow::Blank()
{
    if (madeAt_ != ratio_) {
        canvas_ = plot::RasterCanvas(layout_, background_, ratio_);
        canvas_.Scale(corners_.x1, corners_.y1, corners_.x2, corners_.y2);
        madeAt_ = ratio_;
    }
    canvas_.Blank();
    lines_ = 0;
    changed = true;
}

}  // namespace trelvano::web
