#include "Form2.h"

#include <QPushButton>

#include "AppWindows.h"
#include "DecimalSeparator.h"
#include "PlotSurface.h"
#include "WindowSetup.h"

namespace trelvano {

Form2::Form2(AppWindows& windows) : windows_(windows)
{
    SetUpWindow(*this, kForm2);
    BuildControls(*this, kForm2);
    picture1_ = findChild<PlotSurface*>(QStringLiteral("Picture1"));
    connect(picture1_, &PlotSurface::MouseMoved, this, &Form2::Picture1_MouseMove);
    connect(picture1_, &PlotSurface::CursorKeyPressed, this, &Form2::Picture1_KeyDown);
    connect(findChild<QPushButton*>(QStringLiteral("Command1")), &QPushButton::clicked, this, &Form2::Command1_Click);
    SetTabOrder(*this, kForm2);
}

void Form2::Command1_Click()
{
    windows_.Render(windows_.session().ShowSpectrum());
}

void Form2::Picture1_MouseMove(double x, double y)
{
    Session& session = windows_.session();
    session.SetDecimalSeparator(DecimalSeparator());
    windows_.Render(session.Readout(kForm2.name, x, y));
}

void Form2::Picture1_KeyDown(CursorKey key)
{
    Session& session = windows_.session();
    session.SetDecimalSeparator(DecimalSeparator());
    windows_.Render(session.Key(kForm2.name, key));
}

}  // namespace trelvano
