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

    text6_ = AddEntry("Text6", "4.05", 1680, 120, 1935, 405);
    text4_ = AddEntry("Text4", "0.5", 1680, 600, 1935, 375);
    text1_ = AddEntry("Text1", "2", 1680, 1080, 1935, 375);
    text2_ = AddEntry("Text2", "1", 1920, 2760, 1935, 375);
    text5_ = AddEntry("Text5", "0.5", 1920, 3600, 1935, 375);
    text13_ = AddEntry("Text13", "1000", 10080, 240, 1935, 375);
    text3_ = AddEntry("Text3", "30", 10080, 720, 1935, 375);
    text8_ = AddEntry("Text8", "25", 10080, 1200, 1935, 405);
    text7_ = AddEntry("Text7", "3", 10080, 1680, 1935, 375);
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

QLineEdit* Form1::AddEntry(const char* name, const char* text, int left, int top, int width, int height)
{
    auto* entry = new QLineEdit(QString::fromUtf8(text), this);
    entry->setObjectName(QString::fromLatin1(name));
    entry->setGeometry(TwipsRect(left, top, width, height));
    PaintBase(*entry, EntryPink);
    return entry;
}

QLabel* Form1::AddLabel(const char* name, const char* caption, int left, int top, int width, int height)
{
    auto* label = new QLabel(QString::fromUtf8(caption), this);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(TwipsRect(left, top, width, height));
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
    combo1_->addItems({QStringLiteral("AM"), QStringLiteral("FM"), QStringLiteral("PM")});
    combo1_->setCurrentIndex(-1);
    combo1_->setEditText(QStringLiteral("Scegli la modulazione"));
    PaintBase(*combo1_, EntryPink);
}

void Form1::BuildLabels()
{
    AddLabel("Label12", "mf;  mPM", 720, 240, 855, 255);
    AddLabel("Label13", "Indice di modulazione MF o PM", 3720, 240, 4695, 255);
    AddLabel("Label6", "mAM", 1080, 720, 375, 255);
    AddLabel("Label16", "Indice di modulazione AM", 3720, 720, 2775, 255);
    AddLabel("Label1", "W", 1080, 1200, 255, 255);
    AddLabel("Label10", "[msec]", 3720, 1200, 855, 255);
    AddLabel("Label4", "Ampiezza finestra di calcolo", 4560, 1200, 2535, 255);
    AddLabel("Label3", "Fattore di espansione asse tempi", 120, 2640, 1455, 615);
    AddLabel("Label7", "Fattore di espansione asse frequenze per FM e PM", 120, 3360, 1575, 855);
    AddLabel("Label8", "Casella per la scelta del tipo di modulazione", 5040, 2400, 3855, 255);
    AddLabel("Label48", "N", 9720, 240, 255, 255);
    AddLabel("Label56", "Numero campioni", 12120, 360, 1935, 255);
    AddLabel("Label5", "f portante: fp", 8760, 840, 1215, 255);
    AddLabel("Label2", "[kHz]", 12120, 840, 615, 255);
    AddLabel("Label15", "Ampiezza di picco portante", 8520, 1200, 1455, 495);
    AddLabel("Label17", "[V]", 12120, 1320, 495, 255);
    AddLabel("Label14", "f modulante: fm", 8520, 1800, 1455, 255);
    AddLabel("Label11", "[kHz]", 12120, 1800, 495, 255);
    AddLabel("Label18", "mf=kFM*Am/fm", 9720, 2640, 1455, 255);
    AddLabel("Label19", "mPM=kPM*Am", 9720, 3120, 1335, 255);

    QLabel* contact = AddLabel("Label67", "tv@example.org", 12120, 4800, 1575, 285);
    contact->setFont(PanelFont(8.25, false));
    contact->setAlignment(Qt::AlignCenter);
    contact->setAutoFillBackground(true);
    QPalette pal = contact->palette();
    pal.setColor(QPalette::Window, ContactCyan);
    contact->setPalette(pal);
}

void Form1::SetTabOrder()
{
    QWidget* const order[] = {command2_, text13_, text1_, text2_, text3_, text4_,
                              text7_,    combo1_, text8_, text6_, text5_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

EntryTexts Form1::Entries() const
{
    EntryTexts entries;
    entries.Text2 = text2_->text().toStdString();
    entries.Text8 = text8_->text().toStdString();
    entries.Text1 = text1_->text().toStdString();
    entries.Text13 = text13_->text().toStdString();
    entries.Text4 = text4_->text().toStdString();
    entries.Text6 = text6_->text().toStdString();
    entries.Text5 = text5_->text().toStdString();
    entries.Text3 = text3_->text().toStdString();
    entries.Text7 = text7_->text().toStdString();
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
    // Read once: a fault's message points at the entry behind it.
    const EntryTexts entries = Entries();
    RunGuarded(
        windows_.Messages(), [&] { GraficiAction(windows_.State(), entries, windows_.Messages(), windows_); },
        [&](const RuntimeFault& fault) { return FaultMessage(fault, entries); });
}

}  // namespace trelvano
