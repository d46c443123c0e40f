// Windows that come and go: each exists once, closing destroys it, the next
// request builds it afresh, and the program ends with its last visible window.

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "UiTestSupport.h"

using namespace trelvano;
using namespace trelvano::uitest;

class WindowLifecycleTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        session_ = std::make_unique<Session>();
        session_->panel().show();
        session_->setType("AM");
        session_->press();
        QVERIFY(session_->messages.texts.empty());
    }
    void cleanup()
    {
        session_.reset();
        ProcessDeferredDeletes();
    }

    void visualizzaSpettroShowsTheLinesDrawnWhileHidden();
    void visualizzaSpettroTwiceKeepsOneWindow();
    void closedSpectrumWindowComesBackBlank();
    void closedWaveformWindowIsRebuiltByTheNextPress();
    void hiddenSpectrumWindowDoesNotKeepTheProgramAlive();
    void visibleSpectrumWindowDoesKeepTheProgramAlive();
    void resultWindowsWorkAfterThePanelIsClosed();
    void closingAWindowLeavesTheStateAlone();

private:
    Form2& waveform() { return session_->windows.WaveformWindow(); }
    QStringList runEventLoop(const QList<QPointer<QWidget>>& steps);
    void close(QWidget* window)
    {
        QVERIFY(window->close());
        ProcessDeferredDeletes();
    }

    std::unique_ptr<Session> session_;
};

void WindowLifecycleTest::visualizzaSpettroShowsTheLinesDrawnWhileHidden()
{
    Form3* spectrum = session_->windows.ExistingSpectrumWindow();
    QVERIFY(spectrum && !spectrum->isVisible());
    const QImage drawnWhileHidden = PlotImage(spectrum->Picture1()).copy();
    QTest::mouseClick(waveform().findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QVERIFY(spectrum->isVisible());
    QCOMPARE(PlotImage(spectrum->Picture1()), drawnWhileHidden);
    QVERIFY(CountColour(drawnWhileHidden, Red) > 0);
}

void WindowLifecycleTest::visualizzaSpettroTwiceKeepsOneWindow()
{
    waveform().Command1_Click();
    Form3* first = session_->windows.ExistingSpectrumWindow();
    const QImage lines = PlotImage(first->Picture1()).copy();
    waveform().Command1_Click();
    QCOMPARE(session_->windows.ExistingSpectrumWindow(), first);
    QCOMPARE(PlotImage(first->Picture1()), lines);
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto spectrumWindows = std::count_if(windows.begin(), windows.end(), [](const QWidget* w) {
        return w->objectName() == QLatin1String("Form3");
    });
    QCOMPARE(spectrumWindows, 1);
}

void WindowLifecycleTest::closedSpectrumWindowComesBackBlank()
{
    waveform().Command1_Click();
    QPointer<Form3> first = session_->windows.ExistingSpectrumWindow();
    close(first);
    QVERIFY(first.isNull());
    QVERIFY(session_->windows.ExistingSpectrumWindow() == nullptr);

    waveform().Command1_Click();
    Form3* reopened = session_->windows.ExistingSpectrumWindow();
    QVERIFY(reopened && reopened->isVisible());
    const QImage& image = PlotImage(reopened->Picture1());
    QCOMPARE(CountColour(image, Black), image.width() * image.height());

    // The next run draws into the new window.
    session_->press();
    QVERIFY(CountColour(PlotImage(reopened->Picture1()), Red) > 0);
}

void WindowLifecycleTest::closedWaveformWindowIsRebuiltByTheNextPress()
{
    QPointer<Form2> first = &waveform();
    first->Picture1_MouseMove(50.0f, 95.0f);
    close(first);
    QVERIFY(first.isNull());
    QVERIFY(session_->windows.ExistingWaveformWindow() == nullptr);

    session_->press();
    Form2* rebuilt = session_->windows.ExistingWaveformWindow();
    QVERIFY(rebuilt && rebuilt->isVisible());
    QVERIFY(rebuilt->Picture1().toolTip().isEmpty());
    QVERIFY(CountColour(PlotImage(rebuilt->Picture1()), Black) > 0);
}

// Runs the event loop while `steps` close windows one after another, as a user
// would; returns the order of what happened: "closed <name>" per step and
// "quit" when the loop ended by itself.
QStringList WindowLifecycleTest::runEventLoop(const QList<QPointer<QWidget>>& steps)
{
    QStringList happened;
    int next = 0;
    QTimer stepper;
    stepper.setInterval(20);
    connect(&stepper, &QTimer::timeout, [&] {
        if (next == steps.size()) {
            // Every window closed and still running: give up.
            QCoreApplication::exit(1);
            return;
        }
        QPointer<QWidget> window = steps.at(next++);
        if (window) {
            happened << QStringLiteral("closed %1").arg(window->objectName());
            window->close();
        }
    });
    stepper.start();
    const int code = QApplication::exec();
    stepper.stop();
    if (code == 0) happened << QStringLiteral("quit");
    return happened;
}

void WindowLifecycleTest::hiddenSpectrumWindowDoesNotKeepTheProgramAlive()
{
    QVERIFY(session_->windows.ExistingSpectrumWindow() != nullptr);
    QVERIFY(!session_->windows.SpectrumWindow().isVisible());
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    const QStringList happened = runEventLoop({&session_->panel(), &waveform()});
    QCOMPARE(happened, QStringList({"closed Form1", "closed Form2", "quit"}));
    QCOMPARE(lastClosed.count(), 1);
}

void WindowLifecycleTest::visibleSpectrumWindowDoesKeepTheProgramAlive()
{
    waveform().Command1_Click();
    const QStringList happened =
        runEventLoop({&session_->panel(), &waveform(), &session_->windows.SpectrumWindow()});
    QCOMPARE(happened, QStringList({"closed Form1", "closed Form2", "closed Form3", "quit"}));
}

void WindowLifecycleTest::resultWindowsWorkAfterThePanelIsClosed()
{
    close(session_->windows.ExistingInputPanel());
    QVERIFY(session_->windows.ExistingInputPanel() == nullptr);
    QCOMPARE(session_->windows.ModulationText(), std::string());

    waveform().Picture1_MouseMove(50.0f, 95.0f);
    QCOMPARE(waveform().Picture1().toolTip(), "t= 1.00 msec ; V(t) = 3.75E+01 V");
    waveform().Command1_Click();
    Form3& spectrum = session_->windows.SpectrumWindow();
    QVERIFY(spectrum.isVisible());
    spectrum.Picture1_MouseMove(50.0f, 90.0f);
    QCOMPARE(spectrum.Picture1().toolTip(), "f= 30000.00 Hz ; S(f) = 2.50E+01 V");
    QVERIFY(session_->messages.texts.empty());
}

void WindowLifecycleTest::closingAWindowLeavesTheStateAlone()
{
    waveform().Command1_Click();
    session_->windows.SpectrumWindow().Picture1_MouseMove(55.0f, 22.5f);
    const double cursorFreq = session_->state.params.CursorFreq;
    const double cursorLevel = session_->state.params.CursorLevel;
    const auto spectrumSize = session_->state.buffers.Spectrum.size();
    close(&session_->windows.SpectrumWindow());
    close(&waveform());
    QCOMPARE(session_->state.params.CursorFreq, cursorFreq);
    QCOMPARE(session_->state.params.CursorLevel, cursorLevel);
    QCOMPARE(session_->state.buffers.Spectrum.size(), spectrumSize);
    QVERIFY(cursorFreq > 0.0);
}

QTEST_MAIN(WindowLifecycleTest)
#include "WindowLifecycleTest.moc"
