#pragma once

// Shared by the GUI tests: a message sink that records instead of blocking, a
// fresh set of windows per test, and small probes of what a plot shows.

#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QImage>
#include <QLineEdit>
#include <QString>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/AnalysisState.h"
#include "engine/MessageSink.h"
#include "ui/AppWindows.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/PlotSurface.h"

namespace trelvano::uitest {

// Keeps every message, and the cursor that was in force when it arrived.
class RecordingSink final : public MessageSink {
public:
    void ShowMessage(const std::string& text) override
    {
        texts.push_back(text);
        const QCursor* cursor = QApplication::overrideCursor();
        cursorShapes.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
    }

    std::vector<std::string> texts;
    std::vector<Qt::CursorShape> cursorShapes;
};

// What the program holds while it runs, built afresh for each test.
struct Session {
    AnalysisState state;
    RecordingSink messages;
    AppWindows windows{state, messages};

    Form1& panel() { return windows.InputPanel(); }

    void setEntry(const char* name, const QString& text)
    {
        auto* box = panel().findChild<QLineEdit*>(QString::fromLatin1(name));
        Q_ASSERT(box);
        box->setText(text);
    }
    void setType(const QString& text)
    {
        auto* combo = panel().findChild<QComboBox*>(QStringLiteral("Combo1"));
        Q_ASSERT(combo);
        combo->setEditText(text);
    }
    // One press of "Grafici" with the panel's current texts.
    void press() { panel().Command2_Click(); }
};

// A closed window is deleted once control returns to the event loop; the
// tests hand control back explicitly.
inline void ProcessDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline const QImage& PlotImage(const PlotSurface& surface)
{
    return surface.image();
}

// The pixel column that holds plot coordinate x.
inline int ColumnOf(const QImage& image, double x)
{
    return static_cast<int>(x / 100.0 * image.width());
}

// The pixel row that holds plot coordinate y (y grows upwards).
inline int RowOf(const QImage& image, double y)
{
    return static_cast<int>((100.0 - y) / 100.0 * image.height());
}

inline bool SameColour(QRgb pixel, QColor colour)
{
    return (pixel & 0xFFFFFFu) == (colour.rgb() & 0xFFFFFFu);
}

inline int CountInColumn(const QImage& image, int column, QColor colour)
{
    if (column < 0 || column >= image.width()) return 0;
    int count = 0;
    for (int row = 0; row < image.height(); ++row) {
        if (SameColour(image.pixel(column, row), colour)) ++count;
    }
    return count;
}

inline int CountInRow(const QImage& image, int row, QColor colour)
{
    if (row < 0 || row >= image.height()) return 0;
    int count = 0;
    for (int column = 0; column < image.width(); ++column) {
        if (SameColour(image.pixel(column, row), colour)) ++count;
    }
    return count;
}

// The tallest run of `colour` found within one pixel of the column of x.
inline int TallestNear(const QImage& image, double x, QColor colour)
{
    const int centre = ColumnOf(image, x);
    int tallest = 0;
    for (int column = centre - 1; column <= centre + 1; ++column) {
        tallest = std::max(tallest, CountInColumn(image, column, colour));
    }
    return tallest;
}

inline int CountColour(const QImage& image, QColor colour)
{
    int count = 0;
    for (int column = 0; column < image.width(); ++column) count += CountInColumn(image, column, colour);
    return count;
}

inline const QColor Red{255, 0, 0};
inline const QColor Black{0, 0, 0};

}  // namespace trelvano::uitest
