#include "PlotSurface.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <limits>

#include "engine/session/ResultWindow.h"

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
}

void PlotSurface::ShowImage(const ResultWindow& window)
{
    const plot::PixelSize pixels = window.Pixels();
    const QImage shared(window.Rgba().data(), pixels.width, pixels.height, pixels.width * 4, QImage::Format_RGBA8888);
    // A copy: the session draws into its own image on the next press.
    image_ = shared.convertToFormat(QImage::Format_RGB32);
    image_.setDevicePixelRatio(window.Ratio());
    update();
}

void PlotSurface::SetReadout(const QString& text)
{
    setToolTip(text);
    if (underMouse()) {
        QToolTip::showText(QCursor::pos(), text, this, QRect(), toolTipDuration());
    }
}

QImage PlotSurface::Image() const
{
    if (!image_.isNull()) return image_;
    const qreal ratio = devicePixelRatioF();
    QImage blank(size() * ratio, QImage::Format_RGB32);
    blank.fill(background_);
    blank.setDevicePixelRatio(ratio);
    return blank;
}

void PlotSurface::paintEvent(QPaintEvent* event)
{
    QPainter screen(this);
    if (image_.isNull()) {
        screen.fillRect(event->rect(), background_);
        return;
    }
    // Each image pixel lands on one device pixel: copied, never smoothed.
    screen.setRenderHint(QPainter::SmoothPixmapTransform, false);
    screen.drawImage(QPointF(0.0, 0.0), image_);
}

void PlotSurface::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    emit MouseMoved(at.x(), at.y());
}

}  // namespace trelvano
