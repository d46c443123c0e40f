#include "Form2.h"

#include <QPushButton>

#include "AppWindows.h"
#include "DecimalSeparator.h"
#include "HandlerGuard.h"
#include "PlotSurface.h"
#include "WindowSetup.h"
#include "engine/CursorReadout.h"

namespace trelvano {

Form2::Form2(AppWindows& windows) : windows_(windows)
{
    SetUpWindow(*this, kForm2);
    BuildControls(*this, kForm2);
    picture1_ = findChild<PlotSurface*>(QStringLiteral("Picture1"));
    connect(picture1_, &PlotSurface::MouseMoved, this, &Form2::Picture1_MouseMove);
    connect(findChild<QPushButton*>(QStringLiteral("Command1")), &QPushButton::clicked, this, &Form2::Command1_Click);
    SetTabOrder(*this, kForm2);
}

void Form2::Command1_Click()
{
    RunGuarded(windows_.Messages(), [this] { windows_.ShowSpectrumWindow(); });
}

void Form2::Picture1_MouseMove(float x, float y)
{
    RunGuarded(windows_.Messages(), [&] {
        picture1_->Scale(kPlotCorners.x1, kPlotCorners.y1, kPlotCorners.x2, kPlotCorners.y2);
        const std::string text = WaveformReadout(windows_.State(), x, y, DecimalSeparator());
        picture1_->SetReadout(QString::fromStdString(text));
    });
}

}  // namespace trelvano
