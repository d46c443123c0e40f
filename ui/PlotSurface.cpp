#include "PlotSurface.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPen>
#include <QToolTip>
#include <limits>

#include "engine/signal/VectorState.h"

namespace trelvano {

PlotSurface::PlotSurface(QColor background, QWidget* parent) : QWidget(parent), background_(background)
{
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Qt takes a tooltip down after about ten seconds; a teacher explaining a
    // point of the plot needs its readout for as long as the pointer rests
    // there. Leaving the plot or clicking still hides it.
    setToolTipDuration(std::numeric_limits<int>::max());
    FitImage();
    // Plot coordinates from the start: a surface created anew reads back
    // positions that mean something even before the first drawing sets them.
    Scale(kPlotCorners.x1, kPlotCorners.y1, kPlotCorners.x2, kPlotCorners.y2);
}

PlotSurface::~PlotSurface()
{
    EndPainting();
}

void PlotSurface::Scale(double x1, double y1, double x2, double y2)
{
    // A system with no width or no height would map everything to infinity;
    // keep the one in force instead.
    if (x1 == x2 || y1 == y2) {
        return;
    }
    corners_ = {x1, y1, x2, y2};
    if (painter_.isActive()) {
        painter_.setTransform(UserToLogical());
    }
}

void PlotSurface::Line(float x1, float y1, float x2, float y2, plot::Rgb colour)
{
    FitImage();
    if (!painter_.isActive()) {
        painter_.begin(&image_);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setTransform(UserToLogical());
        // One request covers every line until the next paint ends the painter.
        update();
    }
    const QColor penColour(colour.r, colour.g, colour.b);
    if (painter_.pen().color() != penColour || !painter_.pen().isCosmetic()) {
        // One image pixel whatever the transform. Flat ends: a segment lights
        // its first pixel and not its last, as a classic line-to does; square
        // ends would push every tiny segment half a pixel past its end points.
        QPen pen(penColour, 1.0, Qt::SolidLine, Qt::FlatCap);
        pen.setCosmetic(true);
        painter_.setPen(pen);
    }
    painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    // The raster engine leaves the upper vector state dirty, and the drawing
    // pass's own code between two lines paid for it on every instruction.
    ClearUpperVectorState();
}

void PlotSurface::Blank()
{
    EndPainting();
    FitImage();
    image_.fill(background_);
    update();
}

plot::PixelSize PlotSurface::Pixels() const
{
    FitImage();
    return {image_.width(), image_.height()};
}

void PlotSurface::SetReadout(const QString& text)
{
    setToolTip(text);
    if (underMouse()) {
        QToolTip::showText(QCursor::pos(), text, this, QRect(), toolTipDuration());
    }
}

const QImage& PlotSurface::Image() const
{
    FitImage();
    EndPainting();
    return image_;
}

void PlotSurface::paintEvent(QPaintEvent* event)
{
    FitImage();
    EndPainting();
    // On a screen with more device pixels per window pixel each image pixel
    // becomes a block of them, copied without smoothing: a line stays as wide
    // as the rest of the window's lines and keeps its hard edges.
    const QRect area = event->rect();
    QPainter screen(this);
    screen.setRenderHint(QPainter::SmoothPixmapTransform, false);
    screen.drawImage(area, image_, area);
}

void PlotSurface::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    const plot::PlotPoint user = PointerToPlot(at.x(), at.y(), {width(), height()}, corners_);
    emit MouseMoved(user.x, user.y);
}

void PlotSurface::FitImage() const
{
    if (image_.size() == size()) {
        return;
    }
    EndPainting();
    QImage fitted(size(), QImage::Format_RGB32);
    fitted.fill(background_);
    if (!image_.isNull()) {
        // Keep the drawing at its place after a resize.
        QPainter copier(&fitted);
        copier.drawImage(QPointF(0.0, 0.0), image_);
    }
    image_ = fitted;
}

void PlotSurface::EndPainting() const
{
    if (painter_.isActive()) {
        painter_.end();
    }
}

QTransform PlotSurface::UserToLogical() const
{
    const double sx = image_.width() / (corners_.x2 - corners_.x1);
    const double sy = image_.height() / (corners_.y2 - corners_.y1);
    return {sx, 0.0, 0.0, sy, -corners_.x1 * sx, -corners_.y1 * sy};
}

}  // namespace trelvano
