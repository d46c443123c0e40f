#include "Form3.h"

#include "AppWindows.h"
#include "DecimalSeparator.h"
#include "HandlerGuard.h"
#include "PlotSurface.h"
#include "WindowSetup.h"
#include "engine/CursorReadout.h"

namespace trelvano {

Form3::Form3(AppWindows& windows) : windows_(windows)
{
    SetUpWindow(*this, kForm3);
    BuildControls(*this, kForm3);
    picture1_ = findChild<PlotSurface*>(QStringLiteral("Picture1"));
    connect(picture1_, &PlotSurface::MouseMoved, this, &Form3::Picture1_MouseMove);
    SetTabOrder(*this, kForm3);
}

void Form3::Picture1_MouseMove(float x, float y)
{
    RunGuarded(windows_.Messages(), [&] {
        const std::string text = SpectrumReadout(windows_.State(), x, y, DecimalSeparator());
        picture1_->SetReadout(QString::fromStdString(text));
    });
}

}  // namespace trelvano
