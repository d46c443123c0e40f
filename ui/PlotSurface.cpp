#include "PlotSurface.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <limits>

#include "engine/session/ResultWindow.h"

namespace trelvano {

namespace {

// A screen reader reads the readout as the plot's value and hears it change.
class PlotAccessible final : public QAccessibleWidget {
public:
    explicit PlotAccessible(PlotSurface* plot) : QAccessibleWidget(plot, QAccessible::Graphic) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value) return static_cast<const PlotSurface*>(widget())->Readout();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* PlotAccessibleFor(const QString& className, QObject* object)
{
    auto* plot = qobject_cast<PlotSurface*>(object);
    return className == QLatin1String("trelvano::PlotSurface") && plot != nullptr ? new PlotAccessible(plot) : nullptr;
}

std::optional<CursorKey> KeyOf(const QKeyEvent& event)
{
    const bool free = event.modifiers() & Qt::ShiftModifier;
    switch (event.key()) {
    case Qt::Key_Left:
        return free ? CursorKey::Left : CursorKey::Previous;
    case Qt::Key_Right:
        return free ? CursorKey::Right : CursorKey::Next;
    case Qt::Key_Up:
        return free ? std::optional(CursorKey::Up) : std::nullopt;
    case Qt::Key_Down:
        return free ? std::optional(CursorKey::Down) : std::nullopt;
    case Qt::Key_Home:
        return CursorKey::First;
    case Qt::Key_End:
        return CursorKey::Last;
    default:
        return std::nullopt;
    }
}

}  // namespace

PlotSurface::PlotSurface(QColor background, QWidget* parent) : QWidget(parent), background_(background)
{
    static const bool accessible = [] {
        QAccessible::installFactory(PlotAccessibleFor);
        return true;
    }();
    static_cast<void>(accessible);
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
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

void PlotSurface::SetReadout(const QString& text, QPointF at)
{
    readout_ = text;
    cursor_ = at;
    setToolTip(text);
    if (underMouse()) {
        QToolTip::showText(QCursor::pos(), text, this, QRect(), toolTipDuration());
    } else if (keyboard_ && hasFocus()) {
        // Beside the mark, not over it.
        QToolTip::showText(mapToGlobal(at.toPoint() + QPoint(12, 12)), text, this, QRect(), toolTipDuration());
    }
    QAccessibleValueChangeEvent changed(this, text);
    QAccessible::updateAccessibility(&changed);
    if (keyboard_) update();
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

std::optional<QPointF> PlotSurface::Mark() const
{
    return keyboard_ && hasFocus() ? cursor_ : std::nullopt;
}

void PlotSurface::paintEvent(QPaintEvent* event)
{
    QPainter screen(this);
    if (image_.isNull()) {
        screen.fillRect(event->rect(), background_);
    } else {
        // Each image pixel lands on one device pixel: copied, never smoothed.
        screen.setRenderHint(QPainter::SmoothPixmapTransform, false);
        screen.drawImage(QPointF(0.0, 0.0), image_);
    }
    if (!keyboard_ || !hasFocus()) return;
    // Dark blue on the pale waveform, yellow on the black spectrum: well
    // apart from the background and from the lines either way.
    const QColor ink = background_.lightness() > 128 ? QColor(0, 0, 160) : QColor(255, 255, 0);
    screen.setPen(QPen(ink, 2));
    screen.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    if (const std::optional<QPointF> mark = Mark()) {
        screen.drawLine(*mark - QPointF(8, 0), *mark + QPointF(8, 0));
        screen.drawLine(*mark - QPointF(0, 8), *mark + QPointF(0, 8));
    }
}

void PlotSurface::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    emit MouseMoved(at.x(), at.y());
}

void PlotSurface::keyPressEvent(QKeyEvent* event)
{
    const std::optional<CursorKey> key = KeyOf(*event);
    if (!key) {
        QWidget::keyPressEvent(event);
        return;
    }
    keyboard_ = true;
    emit CursorKeyPressed(*key);
}

void PlotSurface::focusInEvent(QFocusEvent* event)
{
    keyboard_ = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    update();
    QWidget::focusInEvent(event);
}

void PlotSurface::focusOutEvent(QFocusEvent* event)
{
    keyboard_ = false;
    update();
    QWidget::focusOutEvent(event);
}

}  // namespace trelvano
