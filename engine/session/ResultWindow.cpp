#include "engine/session/ResultWindow.h"

namespace trelvano {

namespace {

const Control& Picture1(const Form& form)
{
    return *FindControl(form, "Picture1");
}

plot::PixelSize LayoutOf(const Control& plot)
{
    return {TwipsToPixels(plot.place.width), TwipsToPixels(plot.place.height)};
}

}  // namespace

ResultWindow::ResultWindow(const Form& form, const double& ratio)
    : form_(form),
      ratio_(ratio),
      madeAt_(ratio),
      layout_(LayoutOf(Picture1(form))),
      background_(Picture1(form).background.value_or(plot::Black)),
      canvas_(layout_, background_, ratio)
{
}

void ResultWindow::Scale(double x1, double y1, double x2, double y2)
{
    canvas_.Scale(x1, y1, x2, y2);
}

void ResultWindow::Line(float x1, float y1, float x2, float y2, plot::Rgb colour)
{
    canvas_.Line(x1, y1, x2, y2, colour);
    changed = true;
}

void ResultWindow::Blank()
{
    if (madeAt_ != ratio_) {
        const plot::PlotCorners corners = canvas_.Corners();
        canvas_ = plot::RasterCanvas(layout_, background_, ratio_);
        canvas_.Scale(corners);
        madeAt_ = ratio_;
    }
    canvas_.Blank();
    changed = true;
}

}  // namespace trelvano
