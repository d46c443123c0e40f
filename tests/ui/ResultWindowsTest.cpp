// The waveform and spectrum windows after a run: cursor readouts in the user's
// number format, windows closed and built afresh, and when the program ends.

#include <QLocale>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTimer>

#include "UiTestSupport.h"

using namespace trelvano;
using namespace trelvano::uitest;

namespace {

// A cursor position on one of the plots and its readout under a C and an Italian locale.
struct Readout {
    bool spectrum;
    float x, y;
    QString c, italian;
};

}  // namespace

Q_DECLARE_METATYPE(Readout)

class ResultWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Session> s_;

    // The readout of a result window's plot with the cursor at plot coordinates (x, y).
    template <class Form>
    static QString Read(Form& form, float x, float y)
    {
        form.Picture1_MouseMove(x, y);
        return form.Picture1().toolTip();
    }
    static void close(QWidget* window)
    {
        QVERIFY(window->close());
        ProcessDeferredDeletes();
    }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        s_ = std::make_unique<Session>();
        s_->panel().show();
        s_->setType("AM");
        s_->press();
        QVERIFY(s_->messages.texts.empty());
    }
    void cleanup()
    {
        s_.reset();
        ProcessDeferredDeletes();
    }

    void tooltip_data()
    {
        QTest::addColumn<Readout>("r");
        QTest::newRow("waveform peak")
            << Readout{false, 50, 95, "t= 1.00 msec ; V(t) = 3.75E+01 V", "t= 1,00 msec ; V(t) = 3,75E+01 V"};
        QTest::newRow("waveform right edge at the trough")
            << Readout{false, 100, 5, "t= 2.00 msec ; V(t) = -3.75E+01 V", "t= 2,00 msec ; V(t) = -3,75E+01 V"};
        QTest::newRow("lower side line foot")
            << Readout{true, 45, 0, "f= 27000.00 Hz ; S(f) = 0.00E+00 V", "f= 27000,00 Hz ; S(f) = 0,00E+00 V"};
    }
    void tooltip()
    {
        QFETCH(Readout, r);
        const auto read = [&] { return r.spectrum ? Read(s_->spectrum(), r.x, r.y) : Read(s_->waveform(), r.x, r.y); };
        QCOMPARE(read(), r.c);
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        QCOMPARE(read(), r.italian);
    }

    void realMouseMoveReachesTheReadout()
    {
        PlotSurface& plot = s_->waveform().Picture1();
        QSignalSpy moves(&plot, &PlotSurface::MouseMoved);
        const QPointF centre(plot.width() / 2.0, plot.height() / 2.0);
        // A held button and a modifier change nothing.
        for (const Qt::MouseButton button : {Qt::NoButton, Qt::LeftButton}) {
            QMouseEvent move(QEvent::MouseMove, centre, plot.mapToGlobal(centre), button, button,
                             button ? Qt::ShiftModifier : Qt::NoModifier);
            QApplication::sendEvent(&plot, &move);
        }
        QCOMPARE(moves.count(), 2);
        QVERIFY(std::abs(moves[1][0].toFloat() - 50.0f) < 0.2f && std::abs(moves[1][1].toFloat() - 50.0f) < 0.2f);
        QVERIFY(plot.toolTip().startsWith("t= 1.00 msec ; V(t) = "));
    }

    void rejectedPressThatRaisedNKeepsTheReadoutsSafe()
    {
        // Stopped at the sampling test with N already raised; the buffers keep the last run's size.
        s_->setEntry("Text13", "5000");
        s_->setEntry("Text3", "700");
        s_->press();
        QCOMPARE(s_->messages.texts, Texts{messages::M5});
        QCOMPARE(Read(s_->waveform(), 50, 95), "t= 1.00 msec ; V(t) = 3.75E+01 V");
        s_->windows.ShowSpectrumWindow();
        // Five times the samples over the same window read as five times the frequency.
        QCOMPARE(Read(s_->spectrum(), 50, 90), "f= 150000.00 Hz ; S(f) = 2.50E+01 V");
        QVERIFY(Read(s_->spectrum(), 100, 100).startsWith("f= 300000.00 Hz"));
        QCOMPARE(s_->messages.texts.size(), std::size_t{1});
    }

    void visualizzaSpettroShowsTheLinesOrABlankPlotOnceClosed()
    {
        Form3* spectrum = s_->windows.ExistingSpectrumWindow();
        QVERIFY(spectrum && !spectrum->isVisible());
        const QImage drawn = spectrum->Picture1().image().copy();
        QVERIFY(Count(drawn, Red) > 0);
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(s_->waveform().findChild<QPushButton*>("Command1"), Qt::LeftButton);
            QVERIFY(s_->windows.ExistingSpectrumWindow() == spectrum && spectrum->isVisible());
            QCOMPARE(spectrum->Picture1().image(), drawn);
        }

        QPointer<Form3> first = spectrum;
        close(first);
        QVERIFY(first.isNull() && !s_->windows.ExistingSpectrumWindow());
        s_->waveform().Command1_Click();
        Form3* reopened = s_->windows.ExistingSpectrumWindow();
        QVERIFY(reopened && reopened->isVisible() && reopened->Picture1().toolTip().isEmpty());
        QCOMPARE(Count(reopened->Picture1().image(), Black), drawn.width() * drawn.height());
        QCOMPARE(Read(*reopened, 50, 90), "f= 30000.00 Hz ; S(f) = 2.50E+01 V");
        s_->press();
        QVERIFY(Count(reopened->Picture1().image(), Red) > 0);
    }

    void closedWaveformWindowIsRebuiltByTheNextPress()
    {
        QPointer<Form2> first = &s_->waveform();
        Read(s_->waveform(), 50, 95);
        close(first);
        QVERIFY(first.isNull() && !s_->windows.ExistingWaveformWindow());
        s_->press();
        Form2* rebuilt = s_->windows.ExistingWaveformWindow();
        QVERIFY(rebuilt && rebuilt->isVisible() && rebuilt->Picture1().toolTip().isEmpty());
        QVERIFY(Count(rebuilt->Picture1().image(), Black) > 0);
    }

    void resultWindowsWorkAfterThePanelIsClosed()
    {
        close(s_->windows.ExistingInputPanel());
        QVERIFY(!s_->windows.ExistingInputPanel());
        QCOMPARE(s_->windows.ModulationText(), std::string());
        QCOMPARE(Read(s_->waveform(), 50, 95), "t= 1.00 msec ; V(t) = 3.75E+01 V");
        s_->waveform().Command1_Click();
        QVERIFY(s_->spectrum().isVisible());
        QCOMPARE(Read(s_->spectrum(), 50, 90), "f= 30000.00 Hz ; S(f) = 2.50E+01 V");
        QVERIFY(s_->messages.texts.empty());
    }

    void lastVisibleWindowEndsTheProgram_data()
    {
        QTest::addColumn<bool>("spectrumShown");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("hidden spectrum window") << false << QStringList{"closed Form1", "closed Form2", "quit"};
        QTest::newRow("visible spectrum window")
            << true << QStringList{"closed Form1", "closed Form2", "closed Form3", "quit"};
    }
    void lastVisibleWindowEndsTheProgram()
    {
        QFETCH(bool, spectrumShown);
        QFETCH(QStringList, expected);
        if (spectrumShown) s_->waveform().Command1_Click();
        // One window closed per timer tick while the event loop runs, as a user would.
        const QList<QPointer<QWidget>> steps{&s_->panel(), &s_->waveform(), &s_->spectrum()};
        QStringList happened;
        qsizetype next = 0;
        QTimer stepper;
        connect(&stepper, &QTimer::timeout, [&] {
            if (next == steps.size()) return QCoreApplication::exit(1);  // all closed, still running
            if (QPointer<QWidget> window = steps.at(next++)) {
                happened << "closed " + window->objectName();
                window->close();
            }
        });
        stepper.start(20);
        if (QApplication::exec() == 0) happened << "quit";
        QCOMPARE(happened, expected);
    }
};

QTEST_MAIN(ResultWindowsTest)
#include "ResultWindowsTest.moc"
