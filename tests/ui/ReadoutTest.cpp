// The cursor readouts of both plots: the tooltip text under the cursor, in the
// user's regional number format, also after a rejected press.

#include <QLocale>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "UiTestSupport.h"
#include "engine/Messages.h"

using namespace trelvano;
using namespace trelvano::uitest;

class ReadoutTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        session_ = std::make_unique<Session>();
        session_->setType("AM");
        session_->press();
        QVERIFY(session_->messages.texts.empty());
    }
    void cleanup()
    {
        session_.reset();
        QLocale::setDefault(QLocale::c());
    }

    void waveformTooltip_data();
    void waveformTooltip();
    void spectrumTooltip_data();
    void spectrumTooltip();
    void mouseMovesReachTheReadout();
    void rejectedPressKeepsTheReadoutsSafe();
    void zeroTimeExpansionShowsNoTime();
    void spectrumWindowOpenedAnewReadsPlotCoordinates();

private:
    std::unique_ptr<Session> session_;
};

namespace {

void AddLocaleRows(const char* where, float x, float y, const char* cText, const char* italianText)
{
    QTest::addRow("%s, C locale", where) << QLocale(QLocale::c()) << x << y << QString::fromUtf8(cText);
    QTest::addRow("%s, Italian locale", where)
        << QLocale(QLocale::Italian, QLocale::Italy) << x << y << QString::fromUtf8(italianText);
}

void AddColumns()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<QString>("tooltip");
}

}  // namespace

void ReadoutTest::waveformTooltip_data()
{
    AddColumns();
    AddLocaleRows("mid-window at the peak", 50.0f, 95.0f, "t= 1.00 msec ; V(t) = 3.75E+01 V",
                  "t= 1,00 msec ; V(t) = 3,75E+01 V");
    AddLocaleRows("left edge on the axis", 0.0f, 50.0f, "t= 0.00 msec ; V(t) = 0.00E+00 V",
                  "t= 0,00 msec ; V(t) = 0,00E+00 V");
    AddLocaleRows("right edge at the trough", 100.0f, 5.0f, "t= 2.00 msec ; V(t) = -3.75E+01 V",
                  "t= 2,00 msec ; V(t) = -3,75E+01 V");
}

void ReadoutTest::waveformTooltip()
{
    QFETCH(QLocale, locale);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(QString, tooltip);
    QLocale::setDefault(locale);
    Form2& waveform = session_->windows.WaveformWindow();
    waveform.Picture1_MouseMove(x, y);
    QCOMPARE(waveform.Picture1().toolTip(), tooltip);
}

void ReadoutTest::spectrumTooltip_data()
{
    AddColumns();
    AddLocaleRows("carrier top", 50.0f, 90.0f, "f= 30000.00 Hz ; S(f) = 2.50E+01 V",
                  "f= 30000,00 Hz ; S(f) = 2,50E+01 V");
    AddLocaleRows("lower side line", 45.0f, 0.0f, "f= 27000.00 Hz ; S(f) = 0.00E+00 V",
                  "f= 27000,00 Hz ; S(f) = 0,00E+00 V");
    AddLocaleRows("left edge", 0.0f, 45.0f, "f= 0.00 Hz ; S(f) = 1.25E+01 V", "f= 0,00 Hz ; S(f) = 1,25E+01 V");
}

void ReadoutTest::spectrumTooltip()
{
    QFETCH(QLocale, locale);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(QString, tooltip);
    QLocale::setDefault(locale);
    session_->windows.ShowSpectrumWindow();
    Form3& spectrum = session_->windows.SpectrumWindow();
    spectrum.Picture1_MouseMove(x, y);
    QCOMPARE(spectrum.Picture1().toolTip(), tooltip);
}

void ReadoutTest::mouseMovesReachTheReadout()
{
    Form2& waveform = session_->windows.WaveformWindow();
    PlotSurface& plot = waveform.Picture1();
    QSignalSpy moves(&plot, &PlotSurface::MouseMoved);
    // A pointer at the middle of the plot, no button held.
    const QPointF centre(plot.width() / 2.0, plot.height() / 2.0);
    QMouseEvent move(QEvent::MouseMove, centre, plot.mapToGlobal(centre), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&plot, &move);
    QCOMPARE(moves.count(), 1);
    const float x = moves.at(0).at(0).toFloat();
    const float y = moves.at(0).at(1).toFloat();
    QVERIFY(std::abs(x - 50.0f) < 0.2f);
    QVERIFY(std::abs(y - 50.0f) < 0.2f);
    QVERIFY(plot.toolTip().startsWith("t= 1.00 msec ; V(t) = "));

    session_->windows.ShowSpectrumWindow();
    PlotSurface& spectrumPlot = session_->windows.SpectrumWindow().Picture1();
    const QPointF top(spectrumPlot.width() / 2.0, spectrumPlot.height() * 0.1);
    QMouseEvent overCarrier(QEvent::MouseMove, top, spectrumPlot.mapToGlobal(top), Qt::LeftButton,
                            Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(&spectrumPlot, &overCarrier);
    // A held button and a modifier change nothing.
    QVERIFY(spectrumPlot.toolTip().startsWith("f= 300"));
    QVERIFY(spectrumPlot.toolTip().endsWith("E+01 V"));
}

void ReadoutTest::rejectedPressKeepsTheReadoutsSafe()
{
    // N raised fivefold, with a carrier beyond the new sampling limit: the
    // press stops, the buffers stay sized for N = 1000.
    session_->setEntry("Text13", "5000");
    session_->setEntry("Text3", "700");
    session_->press();
    QCOMPARE(session_->messages.texts, std::vector<std::string>{messages::M5});
    QCOMPARE(session_->state.params.N, 5000);

    Form2& waveform = session_->windows.WaveformWindow();
    waveform.Picture1_MouseMove(50.0f, 95.0f);
    QCOMPARE(waveform.Picture1().toolTip(), "t= 1.00 msec ; V(t) = 3.75E+01 V");

    session_->windows.ShowSpectrumWindow();
    Form3& spectrum = session_->windows.SpectrumWindow();
    spectrum.Picture1_MouseMove(50.0f, 90.0f);
    // Five times the samples over the same window read as five times the frequency.
    QCOMPARE(spectrum.Picture1().toolTip(), "f= 150000.00 Hz ; S(f) = 2.50E+01 V");
    spectrum.Picture1_MouseMove(100.0f, 100.0f);
    QVERIFY(spectrum.Picture1().toolTip().startsWith("f= 300000.00 Hz"));
    QCOMPARE(session_->messages.texts.size(), std::size_t{1});
}

void ReadoutTest::zeroTimeExpansionShowsNoTime()
{
    session_->setEntry("Text2", "0");
    session_->press();
    QVERIFY(session_->messages.texts.empty());
    Form2& waveform = session_->windows.WaveformWindow();
    waveform.Picture1_MouseMove(50.0f, 95.0f);
    const QString tooltip = waveform.Picture1().toolTip();
    QVERIFY2(tooltip.startsWith("t= n.d. msec ; V(t) = 3.75E+01 V"), qPrintable(tooltip));
    QVERIFY(session_->messages.texts.empty());
}

void ReadoutTest::spectrumWindowOpenedAnewReadsPlotCoordinates()
{
    session_->windows.ShowSpectrumWindow();
    session_->windows.SpectrumWindow().close();
    ProcessDeferredDeletes();
    QVERIFY(session_->windows.ExistingSpectrumWindow() == nullptr);
    session_->windows.WaveformWindow().Command1_Click();
    Form3& reopened = session_->windows.SpectrumWindow();
    QVERIFY(reopened.Picture1().toolTip().isEmpty());
    reopened.Picture1_MouseMove(50.0f, 90.0f);
    QCOMPARE(reopened.Picture1().toolTip(), "f= 30000.00 Hz ; S(f) = 2.50E+01 V");
}

QTEST_MAIN(ReadoutTest)
#include "ReadoutTest.moc"
