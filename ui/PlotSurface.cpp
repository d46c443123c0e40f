#include "PlotSurface.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPen>
#include <QToolTip>

#include "engine/VectorState.h"

namespace trelvano {

PlotSurface::PlotSurface(QColor background, QWidget* parent) : QWidget(parent), background_(background)
{
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    FitImage();
    // Plot coordinates from the start: a surface created anew reads back
    // positions that mean something even before the first drawing sets them.
    Scale(0.0, 100.0, 100.0, 0.0);
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
    scaleX1_ = x1;
    scaleY1_ = y1;
    scaleX2_ = x2;
    scaleY2_ = y2;
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
        // One device pixel whatever the transform. Flat ends: a segment lights
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
        QToolTip::showText(QCursor::pos(), text, this);
    }
}

const QImage& PlotSurface::image() const
{
    FitImage();
    EndPainting();
    return image_;
}

void PlotSurface::paintEvent(QPaintEvent* event)
{
    FitImage();
    EndPainting();
    const QRect area = event->rect();
    const qreal ratio = image_.devicePixelRatio();
    const QRectF source(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio);
    QPainter screen(this);
    screen.drawImage(QRectF(area), image_, source);
}

void PlotSurface::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF user = UserToLogical().inverted().map(event->position());
    emit MouseMoved(static_cast<float>(user.x()), static_cast<float>(user.y()));
}

void PlotSurface::FitImage() const
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (image_.size() == pixels && image_.devicePixelRatio() == ratio) {
        return;
    }
    EndPainting();
    QImage fitted(pixels, QImage::Format_RGB32);
    fitted.setDevicePixelRatio(ratio);
    fitted.fill(background_);
    if (!image_.isNull()) {
        // Keep the drawing: at its place after a resize, enlarged or reduced
        // to the new ratio after a move to another screen.
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
    const QSizeF logical = image_.deviceIndependentSize();
    const double sx = logical.width() / (scaleX2_ - scaleX1_);
    const double sy = logical.height() / (scaleY2_ - scaleY1_);
    return {sx, 0.0, 0.0, sy, -scaleX1_ * sx, -scaleY1_ * sy};
}

}  // namespace trelvano
