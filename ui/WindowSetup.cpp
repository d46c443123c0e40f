#include "WindowSetup.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "AppIcons.h"
#include "GraphicalButton.h"
#include "PlotSurface.h"
#include "Twips.h"
#include "UiFonts.h"

namespace trelvano {

namespace {

// Entry boxes and the type box show their colour as the base under the text.
void PaintBase(QWidget& widget, QColor colour)
{
    QPalette pal = widget.palette();
    pal.setColor(QPalette::Base, colour);
    widget.setPalette(pal);
}

QColor Background(const PlacedControl& control, const QWidget& window, QPalette::ColorRole role)
{
    return control.background ? ToQColor(*control.background) : window.palette().color(role);
}

QLabel* MakeLabel(QWidget& window, const char* text, Alignment alignment)
{
    auto* label = new QLabel(QString::fromUtf8(text), &window);
    label->setAlignment(alignment == Alignment::Centre ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QComboBox* MakeTypeBox(QWidget& window, const PlacedControl& control)
{
    auto* combo = new QComboBox(&window);
    combo->setEditable(true);
    // The box takes exactly what is typed: no completion that could turn "fm"
    // into "FM", and Enter never adds the typed text to the list.
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const char* item : control.list) combo->addItem(QString::fromUtf8(item));
    combo->setCurrentIndex(-1);
    combo->setEditText(QString::fromUtf8(control.text));
    PaintBase(*combo, Background(control, window, QPalette::Base));
    return combo;
}

QWidget* MakeControl(QWidget& window, const PlacedControl& control)
{
    switch (control.kind) {
    case ControlKind::Entry: {
        auto* box = new QLineEdit(QString::fromUtf8(control.text), &window);
        PaintBase(*box, Background(control, window, QPalette::Base));
        return box;
    }
    case ControlKind::Label: {
        QLabel* label = MakeLabel(window, control.text, control.alignment);
        if (control.background) {
            label->setAutoFillBackground(true);
            QPalette pal = label->palette();
            pal.setColor(QPalette::Window, ToQColor(*control.background));
            label->setPalette(pal);
        }
        return label;
    }
    case ControlKind::TypeBox:
        return MakeTypeBox(window, control);
    case ControlKind::Button:
        return new GraphicalButton(QString::fromUtf8(control.text), Background(control, window, QPalette::Button),
                                   &window);
    case ControlKind::Option:
        // Siblings with auto-exclusive radio buttons form one group by themselves.
        return new QRadioButton(QString::fromUtf8(control.text), &window);
    case ControlKind::Plot:
        return new PlotSurface(Background(control, window, QPalette::Window), &window);
    case ControlKind::HiddenPicture: {
        auto* box = new QFrame(&window);
        box->setFrameShape(QFrame::Box);
        box->hide();
        return box;
    }
    }
    return nullptr;
}

void Place(QWidget& widget, const char* name, const Twips& place)
{
    widget.setObjectName(QString::fromLatin1(name));
    widget.setGeometry(TwipsRect(place));
}

}  // namespace

void SetUpWindow(QWidget& window, const Form& form)
{
    window.setObjectName(QString::fromLatin1(form.name));
    window.setAttribute(Qt::WA_DeleteOnClose);
    window.setWindowTitle(QString::fromUtf8(form.caption));
    window.setWindowIcon(form.icon == WindowIcon::Spectrum ? SpectrumIcon() : ApplicationIcon());
    window.setFont(PanelFont(form.font));
    window.resize(TwipsSize(form.clientWidth, form.clientHeight));
}

void BuildControls(QWidget& window, const Form& form)
{
    for (const PlacedControl& control : ControlsInBuildOrder(form)) {
        QWidget* widget = MakeControl(window, control);
        Place(*widget, control.name, control.place);
        if (control.font) widget->setFont(PanelFont(*control.font));
    }
}

void SetTabOrder(QWidget& window, const Form& form)
{
    QWidget* previous = nullptr;
    for (const std::string_view name : TabOrder(form)) {
        auto* next = window.findChild<QWidget*>(QString::fromLatin1(name.data(), qsizetype(name.size())));
        Q_ASSERT(next != nullptr);
        if (previous != nullptr) QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

}  // namespace trelvano
