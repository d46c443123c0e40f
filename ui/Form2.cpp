#include "Form2.h"

#include <QLabel>
#include <QRadioButton>

#include "AppIcons.h"
#include "AppWindows.h"
#include "DecimalSeparator.h"
#include "GraphicalButton.h"
#include "HandlerGuard.h"
#include "HiddenPictureBox.h"
#include "PlotSurface.h"
#include "Twips.h"
#include "UiFonts.h"
#include "WindowSetup.h"
#include "engine/CursorReadout.h"

namespace trelvano {

namespace {

QRadioButton* AddOption(QWidget* parent, const char* name, const char* caption, QRect geometry)
{
    auto* option = new QRadioButton(QString::fromUtf8(caption), parent);
    option->setObjectName(QString::fromLatin1(name));
    option->setGeometry(geometry);
    option->setFont(PanelFont(8.25, true));
    return option;
}

}  // namespace

Form2::Form2(AppWindows& windows) : windows_(windows)
{
    SetUpWindow(*this, "Form2", "Forme d'onda reali", ApplicationIcon(), PanelFont(8.25, false),
                TwipsSize(18495, 10005));

    picture1_ = new PlotSurface(QColor(255, 255, 192), this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(TwipsRect(120, 120, 15015, 9135));
    connect(picture1_, &PlotSurface::MouseMoved, this, &Form2::Picture1_MouseMove);

    auto* const label1 = new QLabel(
        QStringLiteral("Sposta il cursore del mouse sulla forma d'onda , comparirà il valore in quel punto"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(TwipsRect(120, 9480, 8655, 375));
    label1->setFont(PanelFont(9.75, true));
    label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label1->setWordWrap(true);

    MakeHiddenPictureBox(this, TwipsRect(16800, 6480, 495, 375));

    // Siblings with auto-exclusive radio buttons form one group by themselves.
    QRadioButton* const option1 = AddOption(this, "Option1", "V(t)", TwipsRect(15240, 2280, 1215, 375));
    QRadioButton* const option2 = AddOption(this, "Option2", "Vr(t)", TwipsRect(15240, 6840, 855, 375));

    auto* const command1 = new GraphicalButton(QStringLiteral("Visualizza spettro"), QColor(255, 0, 0), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setGeometry(TwipsRect(15360, 480, 1935, 855));
    command1->setFont(PanelFont(12.0, true));
    connect(command1, &QPushButton::clicked, this, &Form2::Command1_Click);

    setTabOrder(option1, option2);
    setTabOrder(option2, command1);
}

void Form2::Command1_Click()
{
    RunGuarded(windows_.Messages(), [this] { windows_.ShowSpectrumWindow(); });
}

void Form2::Picture1_MouseMove(float x, float y)
{
    RunGuarded(windows_.Messages(), [&] {
        picture1_->Scale(0, 100, 100, 0);
        const std::string text = WaveformReadout(windows_.State(), x, y, DecimalSeparator());
        picture1_->SetReadout(QString::fromStdString(text));
    });
}

}  // namespace trelvano
