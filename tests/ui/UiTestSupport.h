#pragma once

// Shared by the GUI tests: a recording sink, a fresh set of windows per test, a pixel probe.

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "engine/entries/Messages.h"
#include "tests/support/Entries.h"
#include "ui/AppWindows.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/PlotSurface.h"

namespace trelvano::uitest {

using Texts = std::vector<std::string>;
using support::RecordingSink;

// The offscreen platform has no window stacking and says so on every raise();
// the message is dropped, every other one goes on to Qt Test.
inline void DropOffscreenRaiseWarnings()
{
    static const QtMessageHandler next = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (!text.startsWith(QLatin1String("This plugin does not support "))) next(type, context, text);
        });
}

struct Session {
    Session() { DropOffscreenRaiseWarnings(); }
    AnalysisState state;
    RecordingSink messages;
    AppWindows windows{state, messages};

    Form1& Panel() { return windows.InputPanel(); }
    Form2& Waveform() { return windows.WaveformWindow(); }
    Form3& Spectrum() { return windows.SpectrumWindow(); }
    void SetEntry(const char* name, const QString& text) { Panel().findChild<QLineEdit*>(name)->setText(text); }
    void SetType(const QString& text) { Panel().findChild<QComboBox*>("Combo1")->setEditText(text); }
    void Press() { Panel().Command2_Click(); }
    // The initial entries with the type chosen, pressed with the panel up; true when no message came.
    bool RunDefaults()
    {
        Panel().show();
        SetType("AM");
        Press();
        return messages.texts.empty();
    }
};

// The readout a result window shows with the cursor at plot coordinates (x, y).
template <class Form>
QString Readout(Form& form, float x, float y)
{
    form.Picture1_MouseMove(x, y);
    return form.Picture1().toolTip();
}

// A closed window is deleted once control returns to the event loop.
inline void ProcessDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

inline const QColor Red{255, 0, 0};
inline const QColor Black{0, 0, 0};

// Pixels of `colour` in the image.
inline int Count(const QImage& image, QColor colour)
{
    int count = 0;
    for (int i = 0; i < image.width() * image.height(); ++i) {
        count += (image.pixel(i % image.width(), i / image.width()) & 0xFFFFFFu) == (colour.rgb() & 0xFFFFFFu);
    }
    return count;
}

}  // namespace trelvano::uitest
