#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QTransform>
#include <QWidget>

#include "engine/CursorReadout.h"
#include "plot/Canvas.h"

namespace trelvano {

// A plot: a persistent image that the drawing passes paint into through a user
// coordinate system, and that the widget only copies to the screen. It keeps
// its drawing while hidden or covered. The image has one pixel per pixel of
// the window's own scale, so its lines are one such pixel wide, like every
// other line of the window, whatever the screen's device pixel ratio; and the
// passes merge segments per column of the very pixels they end up in.
class PlotSurface : public QWidget, public plot::Canvas {
    Q_OBJECT

public:
    explicit PlotSurface(QColor background, QWidget* parent = nullptr);
    ~PlotSurface() override;

    // Corners that give no width or no height leave the system in force.
    void Scale(double x1, double y1, double x2, double y2) override;
    void Line(float x1, float y1, float x2, float y2, plot::Rgb colour) override;
    void Blank() override;
    plot::PixelSize Pixels() const override;

    // Sets the tooltip text; a tooltip already open over the plot follows it at once.
    void SetReadout(const QString& text);

    // The image as drawn so far, one pixel per pixel of the window's scale.
    const QImage& Image() const;

signals:
    // The pointer position in the current user coordinates.
    void MouseMoved(float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // Matches the image to the widget's size, which may have changed since the
    // last drawing (a resize while hidden is only applied when it is shown).
    void FitImage() const;
    void EndPainting() const;
    // User coordinates to image pixels, which are the widget's own pixels.
    QTransform UserToLogical() const;

    QColor background_;
    PlotCorners corners_;
    // The image is brought up to date from const accessors as well, so it and
    // its painter are caches of the drawing rather than observable state.
    mutable QImage image_;
    // Kept open across Line calls: a drawing pass makes thousands of them and
    // opening a painter costs more than drawing a short line.
    mutable QPainter painter_;
};

}  // namespace trelvano
