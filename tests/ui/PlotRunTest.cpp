// What a completed run leaves on the two plots, checked on their images.

#include <QTest>
#include <cmath>
#include <set>

#include "UiTestSupport.h"

using namespace trelvano;
using namespace trelvano::uitest;

namespace {

// Height in pixels of a line that reaches plot height `y`.
double PixelsForHeight(const QImage& image, double y)
{
    return y / 100.0 * image.height();
}

// Columns whose red run stands taller than the stub a zero-height line leaves.
std::set<int> TallRedColumns(const QImage& image)
{
    std::set<int> columns;
    for (int column = 0; column < image.width(); ++column) {
        if (CountInColumn(image, column, Red) > 3) columns.insert(column);
    }
    return columns;
}

bool NearAny(int column, const std::vector<int>& expected)
{
    return std::any_of(expected.begin(), expected.end(), [column](int e) { return std::abs(column - e) <= 1; });
}

}  // namespace

class PlotRunTest : public QObject {
    Q_OBJECT

private slots:
    void init() { session_ = std::make_unique<Session>(); }
    void cleanup() { session_.reset(); }

    void amSpectrumShowsCarrierAndTwoSideLines();
    void waveformShowsTraceAndZeroAxis();
    void fmSpectrumFollowsTheBesselLines();
    void fmAndPmDrawTheSamePlots();
    void timeExpansionBelowOneLeavesOnlyTheAxis();

private:
    void runWith(const QString& type)
    {
        session_->setType(type);
        session_->press();
        QVERIFY(session_->messages.texts.empty());
    }
    const QImage& spectrumImage() { return PlotImage(session_->windows.SpectrumWindow().Picture1()); }
    const QImage& waveformImage() { return PlotImage(session_->windows.WaveformWindow().Picture1()); }

    std::unique_ptr<Session> session_;
};

void PlotRunTest::amSpectrumShowsCarrierAndTwoSideLines()
{
    runWith("AM");
    QVERIFY(!session_->windows.SpectrumWindow().isVisible());
    const QImage& image = spectrumImage();
    // Spectrum x = 50 · f / fp for AM: the carrier in the middle, fm = fp / 10 either side.
    const double carrier = PixelsForHeight(image, 90.0);
    const double mAM = 0.5;
    const double side = PixelsForHeight(image, 90.0 * mAM / 2.0);
    QVERIFY(std::abs(TallestNear(image, 50.0, Red) - carrier) <= 2.0);
    QVERIFY(std::abs(TallestNear(image, 45.0, Red) - side) <= 2.0);
    QVERIFY(std::abs(TallestNear(image, 55.0, Red) - side) <= 2.0);
    // Lines rise from the bottom edge.
    const int column = ColumnOf(image, 50.0);
    QVERIFY(SameColour(image.pixel(column, image.height() - 1), Red) ||
            SameColour(image.pixel(column + 1, image.height() - 1), Red));
    const std::vector<int> lines = {ColumnOf(image, 45.0), ColumnOf(image, 50.0), ColumnOf(image, 55.0)};
    for (int tall : TallRedColumns(image)) QVERIFY2(NearAny(tall, lines), qPrintable(QString::number(tall)));
    // Everything else stays black.
    QCOMPARE(CountColour(image, Red) + CountColour(image, Black), image.width() * image.height());
}

void PlotRunTest::waveformShowsTraceAndZeroAxis()
{
    runWith("AM");
    const QImage& image = waveformImage();
    const QColor paleYellow(255, 255, 192);
    QVERIFY(CountColour(image, Black) > image.width());
    QCOMPARE(CountColour(image, Black) + CountColour(image, paleYellow), image.width() * image.height());
    // The zero axis crosses the full width at y = 50.
    const int axisRow = RowOf(image, 50.0);
    const int onAxis = std::max({CountInRow(image, axisRow - 1, Black), CountInRow(image, axisRow, Black),
                                 CountInRow(image, axisRow + 1, Black)});
    QVERIFY(onAxis >= image.width() - 2);
    // The trace spans the samples' range: +peak at y = 95, the lowest sample
    // where y = 50 + 45 · min / peak puts it.
    const auto samples = session_->state.buffers.Signal.all();
    const double lowest = *std::min_element(samples.begin(), samples.end());
    const double peak = session_->state.params.SignalPeak;
    int top = image.height();
    int bottom = -1;
    for (int row = 0; row < image.height(); ++row) {
        if (CountInRow(image, row, Black) > 0) {
            top = std::min(top, row);
            bottom = std::max(bottom, row);
        }
    }
    QVERIFY(std::abs(top - RowOf(image, 95.0)) <= 1);
    QVERIFY(std::abs(bottom - RowOf(image, 50.0 + 45.0 * lowest / peak)) <= 1);
    // The first sample, the AM peak, stands at the top-left corner of the trace.
    QVERIFY(SameColour(image.pixel(0, RowOf(image, 95.0)), Black) ||
            SameColour(image.pixel(0, RowOf(image, 95.0) + 1), Black));
}

void PlotRunTest::fmSpectrumFollowsTheBesselLines()
{
    // An AM run first: its lines must be gone after the FM run.
    runWith("AM");
    runWith("FM");
    const QImage& image = spectrumImage();
    const double fp = 30000.0, fm = 3000.0, mf = 4.05, Kf = 0.5;
    const double centre = fp + Kf * mf * fm;
    double largest = 0.0;
    for (int n = 0; n <= 12; ++n) largest = std::max(largest, std::abs(std::cyl_bessel_j(n, mf)));

    std::vector<int> lines;
    for (int n = -8; n <= 8; ++n) {
        const double x = 50.0 * (fp + n * fm) / centre;
        const double expected = PixelsForHeight(image, 90.0 * std::abs(std::cyl_bessel_j(std::abs(n), mf)) / largest);
        const int measured = TallestNear(image, x, Red);
        QVERIFY2(std::abs(measured - expected) <= 2.0,
                 qPrintable(QStringLiteral("n=%1: %2 px, expected %3").arg(n).arg(measured).arg(expected)));
        lines.push_back(ColumnOf(image, x));
    }
    for (int tall : TallRedColumns(image)) QVERIFY2(NearAny(tall, lines), qPrintable(QString::number(tall)));
}

void PlotRunTest::fmAndPmDrawTheSamePlots()
{
    runWith("FM");
    const QImage fmSpectrum = spectrumImage().copy();
    const QImage fmWaveform = waveformImage().copy();
    runWith("PM");
    QCOMPARE(spectrumImage(), fmSpectrum);
    QCOMPARE(waveformImage(), fmWaveform);
}

void PlotRunTest::timeExpansionBelowOneLeavesOnlyTheAxis()
{
    session_->setEntry("Text2", "0.5");
    runWith("AM");
    const QImage& image = waveformImage();
    // The trace ends at x = 100 · Kt; right of it only the zero axis is drawn.
    const int axisRow = RowOf(image, 50.0);
    for (int column = ColumnOf(image, 51.0); column < image.width(); ++column) {
        for (int row = 0; row < image.height(); ++row) {
            if (std::abs(row - axisRow) <= 1) continue;
            QVERIFY2(!SameColour(image.pixel(column, row), Black), qPrintable(QStringLiteral("%1,%2").arg(column).arg(row)));
        }
    }
    QVERIFY(CountColour(image, Black) > image.width());
}

QTEST_MAIN(PlotRunTest)
#include "PlotRunTest.moc"
