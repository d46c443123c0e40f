#include "Form1.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <iterator>

#include "AppIcons.h"
#include "AppWindows.h"
#include "BusyCursor.h"
#include "GraphicalButton.h"
#include "HandlerGuard.h"
#include "Twips.h"
#include "UiFonts.h"
#include "WindowSetup.h"
#include "engine/AnalysisRun.h"

namespace trelvano {

namespace {

const QColor EntryPink(255, 192, 192);
const QColor ContactCyan(192, 255, 255);

// A one-line caption that comes out a few pixels wider in a substitute font
// grows to the right rather than losing its last letter.
void FitOneLineCaption(QLabel& label)
{
    const QFontMetrics metrics = label.fontMetrics();
    if (label.height() >= 2 * metrics.lineSpacing()) return;
    const int needed = metrics.horizontalAdvance(label.text()) + 1;
    if (needed > label.width()) label.resize(needed, label.height());
}

void PaintBase(QWidget& widget, QColor colour)
{
    QPalette pal = widget.palette();
    pal.setColor(QPalette::Base, colour);
    widget.setPalette(pal);
}

}  // namespace

Form1::Form1(AppWindows& windows) : windows_(windows)
{
    SetUpWindow(*this, "Form1", "Trelvano", ApplicationIcon(), PanelFont(8.25, true), TwipsSize(13830, 5205));

    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        const Entry& entry = kEntries[i];
        auto* box = new QLineEdit(QString::fromUtf8(entry.initialText), this);
        box->setObjectName(QString::fromLatin1(entry.box));
        box->setGeometry(TwipsRect(entry.place));
        PaintBase(*box, EntryPink);
        boxes_[i] = box;
    }
    BuildTypeBox();

    command2_ = new GraphicalButton(QStringLiteral("Grafici"), EntryPink, this);
    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setGeometry(TwipsRect(5040, 3480, 1935, 495));
    connect(command2_, &QPushButton::clicked, this, &Form1::Command2_Click);

    BuildLabels();
    SetTabOrder();
    // The button holds the focus when the panel first comes up.
    command2_->setFocus(Qt::OtherFocusReason);
}

QLabel* Form1::AddLabel(const char* name, const char* caption, const Twips& place)
{
    auto* label = new QLabel(QString::fromUtf8(caption), this);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(TwipsRect(place));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    FitOneLineCaption(*label);
    return label;
}

void Form1::BuildTypeBox()
{
    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setGeometry(TwipsRect(5040, 2760, 3135, 420));
    combo1_->setFont(PanelFont(12.0, true));
    combo1_->setEditable(true);
    // The box takes exactly what is typed: no completion that could turn "fm"
    // into "FM", and Enter never adds the typed text to the list.
    combo1_->setCompleter(nullptr);
    combo1_->setInsertPolicy(QComboBox::NoInsert);
    for (const char* type : kModulationTypes) combo1_->addItem(QString::fromLatin1(type));
    combo1_->setCurrentIndex(-1);
    combo1_->setEditText(QString::fromUtf8(kTypeBoxInitialText));
    PaintBase(*combo1_, EntryPink);
}

void Form1::BuildLabels()
{
    for (const Entry& entry : kEntries) {
        for (const Caption* caption : {&entry.what, &entry.symbol, &entry.unit}) {
            if (caption->name != nullptr) AddLabel(caption->name, caption->text, caption->place);
        }
    }
    AddLabel("Label8", "Casella per la scelta del tipo di modulazione", {5040, 2400, 3855, 255});
    AddLabel("Label18", "mf=kFM*Am/fm", {9720, 2640, 1455, 255});
    AddLabel("Label19", "mPM=kPM*Am", {9720, 3120, 1335, 255});

    QLabel* contact = AddLabel("Label67", "tv@example.org", {12120, 4800, 1575, 285});
    contact->setFont(PanelFont(8.25, false));
    contact->setAlignment(Qt::AlignCenter);
    contact->setAutoFillBackground(true);
    QPalette pal = contact->palette();
    pal.setColor(QPalette::Window, ContactCyan);
    contact->setPalette(pal);
}

void Form1::SetTabOrder()
{
    QWidget* const order[] = {command2_,    Box("Text13"), Box("Text1"), Box("Text2"), Box("Text3"), Box("Text4"),
                              Box("Text7"), combo1_,       Box("Text8"), Box("Text6"), Box("Text5")};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

QLineEdit* Form1::Box(const char* name) const
{
    const Entry* entry = FindEntry(name);
    Q_ASSERT(entry != nullptr);
    return boxes_[static_cast<std::size_t>(entry - kEntries.data())];
}

EntryTexts Form1::Entries() const
{
    EntryTexts entries;
    for (std::size_t i = 0; i < kEntries.size(); ++i) entries.*kEntries[i].text = boxes_[i]->text().toStdString();
    entries.Combo1 = ModulationText();
    return entries;
}

std::string Form1::ModulationText() const
{
    return combo1_->currentText().toStdString();
}

void Form1::Command2_Click()
{
    BusyCursor busy;
    RunGuarded(
        windows_.Messages(), [&] { GraficiAction(windows_.State(), Entries(), windows_.Messages(), windows_); },
        [&](const RuntimeFault& fault) { return FaultMessage(fault, windows_.State().params); });
}

}  // namespace trelvano
