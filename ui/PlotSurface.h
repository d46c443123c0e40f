#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QWidget>
#include <optional>

#include "engine/session/PlotCursor.h"

namespace trelvano {

class ResultWindow;

// A plot on screen: it shows the image the session drew, one image pixel to
// one device pixel, and reports where the pointer is and which cursor key was
// pressed on it. It keeps its image while hidden or covered, and shows its
// background until it has one. Reached by the keyboard, it rings itself and
// marks the cursor over the image, never in it.
class PlotSurface : public QWidget {
    Q_OBJECT

public:
    explicit PlotSurface(QColor background, QWidget* parent = nullptr);

    // Copies the window's plot image and repaints.
    void ShowImage(const ResultWindow& window);
    // Sets the tooltip text, read at (x, y) layout pixels; a tooltip already
    // open over the plot follows it at once, and a keyboard user's opens at the mark.
    void SetReadout(const QString& text, QPointF at);
    const QString& Readout() const { return readout_; }

    // What the plot shows now, in device pixels.
    QImage Image() const;
    // The cursor's mark while the keyboard has the plot, else none.
    std::optional<QPointF> Mark() const;

signals:
    // The pointer position in layout pixels from the top-left corner.
    void MouseMoved(double x, double y);
    void CursorKeyPressed(trelvano::CursorKey key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QColor background_;
    QImage image_;
    QString readout_;
    std::optional<QPointF> cursor_;
    // As a browser's focus-visible: the ring shows when the keyboard brought
    // the focus or used it, not when a window came up with it.
    bool keyboard_ = false;
};

}  // namespace trelvano
