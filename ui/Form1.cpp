#include "Form1.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "AppWindows.h"
#include "BusyCursor.h"
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
    for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) FitOneLineCaption(*label);

    // The boxes show what the session holds, and tell it every change.
    Session& session = windows_.session();
    for (const Entry& entry : kEntries) {
        auto* const box = findChild<QLineEdit*>(QString::fromLatin1(entry.box));
        box->setText(QString::fromStdString(session.Texts().*entry.text));
        connect(box, &QLineEdit::textChanged, this,
                [&session, name = entry.box](const QString& text) { session.SetText(name, text.toStdString()); });
    }
    auto* const combo1 = findChild<QComboBox*>(QStringLiteral("Combo1"));
    combo1->setEditText(QString::fromStdString(session.Texts().Combo1));
    connect(combo1, &QComboBox::editTextChanged, this,
            [&session](const QString& text) { session.SetText("Combo1", text.toStdString()); });

    auto* const command2 = findChild<QPushButton*>(QStringLiteral("Command2"));
    connect(command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    SetTabOrder(*this, kForm1);
    // The button holds the focus when the panel first comes up.
    command2->setFocus(Qt::OtherFocusReason);
}

void Form1::Command2_Click()
{
    Session& session = windows_.session();
    session.SetPixelRatio(devicePixelRatioF());
    SessionEvents events;
    {
        // The whole computation runs here, before the first of its boxes shows.
        BusyCursor busy;
        events = session.Press();
    }
    windows_.Render(events);
}

}  // namespace trelvano
