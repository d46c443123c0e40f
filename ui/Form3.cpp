#include "Form3.h"

#include "AppWindows.h"
#include "DecimalSeparator.h"
#include "PlotSurface.h"
#include "WindowSetup.h"

namespace trelvano {

Form3::Form3(AppWindows& windows) : windows_(windows)
{
    SetUpWindow(*this, kForm3);
    BuildControls(*this, kForm3);
    picture1_ = findChild<PlotSurface*>(QStringLiteral("Picture1"));
    connect(picture1_, &PlotSurface::MouseMoved, this, &Form3::Picture1_MouseMove);
    connect(picture1_, &PlotSurface::CursorKeyPressed, this, &Form3::Picture1_KeyDown);
    SetTabOrder(*this, kForm3);
}

void Form3::Picture1_MouseMove(double x, double y)
{
    Session& session = windows_.session();
    session.SetDecimalSeparator(DecimalSeparator());
    windows_.Render(session.Readout(kForm3.name, x, y));
}

void Form3::Picture1_KeyDown(CursorKey key)
{
    Session& session = windows_.session();
    session.SetDecimalSeparator(DecimalSeparator());
    windows_.Render(session.Key(kForm3.name, key));
}

}  // namespace trelvano
