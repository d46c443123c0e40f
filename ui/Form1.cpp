#include "Form1.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "AppWindows.h"
#include "BusyCursor.h"
#include "HandlerGuard.h"
#include "WindowSetup.h"
#include "engine/forms/FormTable.h"

namespace trelvano {

namespace {

// A one-line caption that comes out a few pixels wider in a substitute font
// grows to the right rather than losing its last letter.
void FitOneLineCaption(QLabel& label)
{
    const QFontMetrics metrics = label.fontMetrics();
    if (label.height() >= 2 * metrics.lineSpacing()) return;
    const int needed = metrics.horizontalAdvance(label.text()) + 1;
    if (needed > label.width()) label.resize(needed, label.height());
}

}  // namespace

Form1::Form1(AppWindows& windows) : windows_(windows)
{
    SetUpWindow(*this, kForm1);
    BuildControls(*this, kForm1);
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        boxes_[i] = findChild<QLineEdit*>(QString::fromLatin1(kEntries[i].box));
    }
    combo1_ = findChild<QComboBox*>(QStringLiteral("Combo1"));
    for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) FitOneLineCaption(*label);

    auto* const command2 = findChild<QPushButton*>(QStringLiteral("Command2"));
    connect(command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    SetTabOrder(*this, kForm1);
    // The button holds the focus when the panel first comes up.
    command2->setFocus(Qt::OtherFocusReason);
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
    GuardedPress(windows_.State(), Entries(), windows_.Messages(), windows_);
}

}  // namespace trelvano
