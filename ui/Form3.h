#pragma once

#include <QWidget>

#include "engine/session/PlotCursor.h"

namespace trelvano {

class AppWindows;
class PlotSurface;

// The spectrum window "Spettro": the red spectrum lines with their cursor readout.
class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(AppWindows& windows);

    PlotSurface& Picture1() const { return *picture1_; }

    // The cursor readout; x and y in layout pixels over the plot.
    void Picture1_MouseMove(double x, double y);
    // A cursor key on the plot: the readout where the keyboard cursor goes.
    void Picture1_KeyDown(CursorKey key);

private:
    AppWindows& windows_;
    PlotSurface* picture1_ = nullptr;
};

}  // namespace trelvano
