#include "engine/session/ResultWindow.h"

namespace trelvano {

namespace {

const Control& Picture1(const Form& form)
{
    return *FindControl(form, "Picture1");
}

}  // namespace

PlotScreen FormPlotScreen(const Form& form, double ratio)
{
    const Control& plot = Picture1(form);
    return {{TwipsToPixels(plot.place.width), TwipsToPixels(plot.place.height)}, ratio};
}

ResultWindow::ResultWindow(const Form& form, const PlotScreen& screen)
    : form_(form),
      screen_(screen),
      made_(screen),
      background_(Picture1(form).background.value_or(plot::Black)),
      canvas_(made_.layout, background_, made_.ratio)
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
    if (Stale()) {
        const plot::PlotCorners corners = canvas_.Corners();
        made_ = screen_;
        canvas_ = plot::RasterCanvas(made_.layout, background_, made_.ratio);
        canvas_.Scale(corners);
        // A cursor in layout pixels of another size would stand elsewhere.
        cursor.reset();
    }
    canvas_.Blank();
    drawn.reset();
    changed = true;
}

}  // namespace trelvano
