// The waveform and spectrum windows after a run: cursor readouts in the user's
// number format, windows closed and built afresh, and when the program ends.

#include <QLocale>
#include <QMouseEvent>
#include <QTimer>

#include "UiTestSupport.h"

using namespace trelvano;
using namespace trelvano::uitest;

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
    static void Close(QWidget* window)
    {
        QVERIFY(window->close());
        ProcessDeferredDeletes();
    }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        s_ = std::make_unique<Session>();
        s_->Panel().show();
        s_->SetType("AM");
        s_->Press();
        QVERIFY(s_->messages.texts.empty());
    }
    void cleanup() { s_.reset(); ProcessDeferredDeletes(); }

    void readoutsFollowTheLocale()
    {
        QCOMPARE(Read(s_->Waveform(), 50, 95), "t= 1.00 msec ; V(t) = 3.75E+01 V");
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        QCOMPARE(Read(s_->Spectrum(), 45, 0), "f= 27000,00 Hz ; S(f) = 0,00E+00 V");
    }

    void realMouseMoveWithButtonAndModifierReachesTheReadout()
    {
        PlotSurface& plot = s_->Waveform().Picture1();
        const QPointF centre(plot.width() / 2.0, plot.height() / 2.0);
        QMouseEvent move(QEvent::MouseMove, centre, plot.mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                         Qt::ShiftModifier);
        // The readout sets the plot's coordinates again: the next move still reads the same point.
        for (int i = 0; i < 2; ++i) {
            QApplication::sendEvent(&plot, &move);
            QCOMPARE(plot.toolTip(), "t= 1.00 msec ; V(t) = 0.00E+00 V");
        }
    }

    void visualizzaSpettroShowsTheLinesOrABlankPlotOnceClosed()
    {
        QPointer<Form3> first = s_->windows.ExistingSpectrumWindow();
        QVERIFY(first && !first->isVisible() && Count(first->Picture1().Image(), Red) > 0);
        QTest::mouseClick(s_->Waveform().findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QVERIFY(s_->windows.ExistingSpectrumWindow() == first && first->isVisible());

        Close(first);
        QVERIFY(first.isNull() && !s_->windows.ExistingSpectrumWindow());
        s_->Waveform().Command1_Click();
        Form3* reopened = s_->windows.ExistingSpectrumWindow();
        QVERIFY(reopened && reopened->isVisible() && reopened->Picture1().toolTip().isEmpty());
        const QImage& blank = reopened->Picture1().Image();
        QCOMPARE(Count(blank, Black), blank.width() * blank.height());
        QCOMPARE(Read(*reopened, 50, 90), "f= 30000.00 Hz ; S(f) = 2.50E+01 V");
        s_->Press();
        QVERIFY(Count(reopened->Picture1().Image(), Red) > 0);
    }

    void closedWaveformWindowIsRebuiltByTheNextPress()
    {
        QPointer<Form2> first = &s_->Waveform();
        Read(s_->Waveform(), 50, 95);
        Close(first);
        QVERIFY(first.isNull() && !s_->windows.ExistingWaveformWindow());
        s_->Press();
        Form2* rebuilt = s_->windows.ExistingWaveformWindow();
        QVERIFY(rebuilt && rebuilt->isVisible() && rebuilt->Picture1().toolTip().isEmpty());
        QVERIFY(Count(rebuilt->Picture1().Image(), Black) > 0);
    }

    void resultWindowsWorkAfterThePanelIsClosed()
    {
        Close(s_->windows.ExistingInputPanel());
        QVERIFY(!s_->windows.ExistingInputPanel());
        QCOMPARE(s_->windows.ModulationText(), std::string());
        QCOMPARE(Read(s_->Waveform(), 50, 95), "t= 1.00 msec ; V(t) = 3.75E+01 V");
        s_->Waveform().Command1_Click();
        QVERIFY(s_->Spectrum().isVisible());
        QCOMPARE(Read(s_->Spectrum(), 50, 90), "f= 30000.00 Hz ; S(f) = 2.50E+01 V");
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
        if (spectrumShown) s_->Waveform().Command1_Click();
        // One window closed per timer tick while the event loop runs, as a user would.
        const QList<QPointer<QWidget>> steps{&s_->Panel(), &s_->Waveform(), &s_->Spectrum()};
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
