// One press of "Grafici": the messages in their order, faults, and what a
// completed run leaves on the two plots.

#include <QMessageBox>
#include <QTimer>
#include <cmath>

#include "UiTestSupport.h"
#include "engine/core/RuntimeFault.h"
#include "ui/HandlerGuard.h"
#include "ui/QtMessageSink.h"

using namespace trelvano;
using namespace trelvano::uitest;

namespace {

// A press's entries, the messages it shows, and whether it gets as far as the waveform window.
struct Press {
    QString W = "2", N = "1000", fp = "30", fm = "3", type = "AM";
    Texts expected{};
    bool runs = true;
};

int ColumnOf(const QImage& image, double x) { return static_cast<int>(x / 100.0 * image.width()); }

// A red line of plot height y (0..100) within a pixel of plot x, to within two pixels.
bool HasLine(const QImage& image, double x, double y)
{
    int tallest = 0;
    for (int c = ColumnOf(image, x) - 1; c <= ColumnOf(image, x) + 1; ++c) {
        tallest = std::max(tallest, Count(image, Red, c, c + 1));
    }
    return std::abs(tallest - y / 100.0 * image.height()) <= 2.0;
}

}  // namespace

Q_DECLARE_METATYPE(Press)

class GraficiPressTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Session> s_;

    void Enter(const Press& e)
    {
        s_->SetEntry("Text1", e.W);
        s_->SetEntry("Text13", e.N);
        s_->SetEntry("Text3", e.fp);
        s_->SetEntry("Text7", e.fm);
        s_->SetType(e.type);
        s_->Press();
    }
    const QImage& SpectrumImage() { return s_->Spectrum().Picture1().Image(); }
    const QImage& WaveformImage() { return s_->Waveform().Picture1().Image(); }

private slots:
    void init() { s_ = std::make_unique<Session>(); }
    void cleanup() { s_.reset(); }

    void pressShowsItsMessagesInOrder_data()
    {
        using namespace messages;
        QTest::addColumn<Press>("p");
        QTest::newRow("decimals, usable") << Press{"2.5", "1000", "30.5", "3.5", "FM", {M1, M2, M3}};
        QTest::newRow("carrier above the sampling limit") << Press{"2", "1000", "126", "3", "AM", {M5}, false};
        // A fault names the entry behind it after its own text.
        const std::string atMost = "\nCasella \"Numero campioni\": inserisci un numero fino a 2147483646.";
        QTest::newRow("N + 1 overflows")
            << Press{"2", "2147483647", "30", "3", "AM", {FaultText(FaultKind::Overflow) + atMost}};
    }
    void pressShowsItsMessagesInOrder()
    {
        QFETCH(Press, p);
        Enter(p);
        QCOMPARE(s_->messages.texts, p.expected);
        QCOMPARE(s_->windows.ExistingWaveformWindow() && s_->Waveform().isVisible(), p.runs);
        QCOMPARE(s_->windows.ExistingSpectrumWindow() != nullptr, p.runs);
        QVERIFY(!QApplication::overrideCursor());  // the busy cursor ends with the press, however it ends

        // Whatever happened, the next press with sound entries runs to the end.
        Enter(Press{});
        QCOMPARE(s_->messages.texts, p.expected);
        QVERIFY(s_->Waveform().isVisible() && s_->state.params.N == 1000 && s_->state.params.SpectrumPeak > 0.0);
    }

    // The largest N the hint names is held and refused for memory, not for overflow.
    void countAtItsLimitNeedsMoreMemoryThanThereIs()
    {
        Enter(Press{"2", "2147483646"});
        QCOMPARE(s_->messages.texts.size(), std::size_t{1});
        const QString shown = QString::fromStdString(s_->messages.texts.front());
        QVERIFY2(shown.startsWith(QString::fromUtf8(FaultText(FaultKind::OutOfMemory))) &&
                     shown.endsWith(QString::fromUtf8("\nCasella \"Numero campioni\": inserisci un numero più piccolo.")),
                 qPrintable(shown));
    }

    void amRunDrawsCarrierAndTrace()
    {
        Enter(Press{});
        QVERIFY(s_->messages.texts.empty() && s_->Waveform().isVisible() && !s_->Spectrum().isVisible());
        // The carrier, the tallest line, at x = 50.
        QVERIFY(HasLine(SpectrumImage(), 50, 90));

        const QImage& wave = WaveformImage();
        // The zero axis crosses at y = 50; the first sample, the AM peak, stands at y = 95 with nothing above.
        const int axis = wave.height() / 2, peak = wave.height() / 20;
        QVERIFY(Count(wave, Black, 0, INT_MAX, axis - 1, axis + 2) >= wave.width() - 2);
        QVERIFY(Count(wave, Black, 0, 1, peak, peak + 2) > 0);
        QCOMPARE(Count(wave, Black, 0, INT_MAX, 0, peak - 1), 0);
    }

    // The real box, as the user gets it: found while it is up, then closed with its button.
    void messageBoxHasTheTitleOneOkButtonAndNoIcon()
    {
        AnalysisState state;
        QtMessageSink box;
        AppWindows windows(state, box);
        QString seen;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* shown = qobject_cast<QMessageBox*>(modal)) {
                const bool arrow = QApplication::overrideCursor()->shape() == Qt::ArrowCursor;
                seen = QStringLiteral("%1|%2|%3 button(s)|%4|%5")
                           .arg(shown->windowTitle(), shown->text())
                           .arg(shown->buttons().size())
                           .arg(shown->standardButtons() == QMessageBox::Ok ? "OK" : "other")
                           .arg(shown->icon() == QMessageBox::NoIcon && arrow ? "plain" : "icon or busy");
            }
            if (modal) modal->close();
        });
        windows.InputPanel().Command2_Click();
        QCOMPARE(seen, QStringLiteral("Trelvano|%1|1 button(s)|OK|plain").arg(messages::M6));
    }

    // An allocation the memory check let through still ends the event with the memory text.
    void allocationFailureEndsTheEventWithTheMemoryText()
    {
        uitest::RecordingSink sink;
        RunGuarded(sink, [] { throw std::bad_alloc(); });
        QCOMPARE(sink.texts, uitest::Texts{FaultText(FaultKind::OutOfMemory)});
    }
};

QTEST_MAIN(GraficiPressTest)
#include "GraficiPressTest.moc"
