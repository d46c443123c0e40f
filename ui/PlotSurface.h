#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace trelvano {

class ResultWindow;

// A plot on screen: it shows the image the session drew, one image pixel to
// one device pixel, and reports where the pointer is. It keeps its image
// while hidden or covered, and shows its background until it has one.
class PlotSurface : public QWidget {
    Q_OBJECT

public:
    explicit PlotSurface(QColor background, QWidget* parent = nullptr);

    // Copies the window's plot image and repaints.
    void ShowImage(const ResultWindow& window);
    // Sets the tooltip text; a tooltip already open over the plot follows it at once.
    void SetReadout(const QString& text);

    // What the plot shows now, in device pixels.
    QImage Image() const;

signals:
    // The pointer position in layout pixels from the top-left corner.
    void MouseMoved(double x, double y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QColor background_;
    QImage image_;
};

}  // namespace trelvano
