#include "Form3.h"

#include <QLabel>

#include "AppIcons.h"
#include "AppWindows.h"
#include "DecimalSeparator.h"
#include "HandlerGuard.h"
#include "HiddenPictureBox.h"
#include "PlotSurface.h"
#include "Twips.h"
#include "UiFonts.h"
#include "WindowSetup.h"
#include "engine/CursorReadout.h"

namespace trelvano {

Form3::Form3(AppWindows& windows) : windows_(windows)
{
    SetUpWindow(*this, "Form3", "Spettro", SpectrumIcon(), PanelFont(8.25, false), TwipsSize(17460, 9705));

    picture1_ = new PlotSurface(QColor(0, 0, 0), this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(TwipsRect(0, 0, 15135, 9255));
    connect(picture1_, &PlotSurface::MouseMoved, this, &Form3::Picture1_MouseMove);

    MakeHiddenPictureBox(this, TwipsRect(15960, 6240, 495, 375));

    auto* const label4 = new QLabel(QStringLiteral("Righe dello spettro in rosso"), this);
    label4->setObjectName(QStringLiteral("Label4"));
    label4->setGeometry(TwipsRect(120, 9360, 7335, 255));
    label4->setFont(PanelFont(8.25, true));
    label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label4->setWordWrap(true);
}

void Form3::Picture1_MouseMove(float x, float y)
{
    RunGuarded(windows_.Messages(), [&] {
        const std::string text = SpectrumReadout(windows_.State(), x, y, DecimalSeparator());
        picture1_->SetReadout(QString::fromStdString(text));
    });
}

}  // namespace trelvano
