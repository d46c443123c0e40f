#pragma once

#include <QWidget>

#include "engine/session/PlotCursor.h"

namespace trelvano {

class AppWindows;
class PlotSurface;

// The waveform window "Forme d'onda reali": the waveform plot with its cursor
// readout and the "Visualizza spettro" button.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(AppWindows& windows);

    PlotSurface& Picture1() const { return *picture1_; }

    // "Visualizza spettro".
    void Command1_Click();
    // The cursor readout; x and y in layout pixels over the plot.
    void Picture1_MouseMove(double x, double y);
    // A cursor key on the plot: the readout where the keyboard cursor goes.
    void Picture1_KeyDown(CursorKey key);

private:
    AppWindows& windows_;
    PlotSurface* picture1_ = nullptr;
};

}  // namespace trelvano
