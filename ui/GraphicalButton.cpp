#include "GraphicalButton.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace trelvano {

GraphicalButton::GraphicalButton(const QString& caption, QColor face, QWidget* parent)
    : QPushButton(caption, parent), face_(face)
{
    setAutoDefault(false);
    setDefault(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Button, face_);
    setPalette(pal);
}

void GraphicalButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool sunken = isDown() || isChecked();
    const QBrush fill(face_);
    // The classic raised bevel is drawn by hand: styles such as the native
    // Windows and macOS ones ignore a palette colour on a push button.
    qDrawWinButton(&painter, rect(), palette(), sunken, &fill);

    QRect textArea = rect().adjusted(4, 3, -4, -3);
    if (sunken) textArea.translate(1, 1);
    painter.setFont(font());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    QRect used;
    painter.drawText(textArea, flags, text(), &used);

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = used.adjusted(-2, -1, 2, 1).intersected(textArea.adjusted(-1, -1, 1, 1));
        option.backgroundColor = face_;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void GraphicalButton::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!event->isAutoRepeat()) click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

}  // namespace trelvano
