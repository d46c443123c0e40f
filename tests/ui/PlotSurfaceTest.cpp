#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "plot/PlotPasses.h"
#include "tests/plot/TestSignals.h"
#include "ui/PlotSurface.h"

using trelvano::PlotSurface;
namespace plot = trelvano::plot;

namespace {

// The waveform plot's size in pixels: 15015 × 9135 twips.
constexpr int PlotWidth = 1001;
constexpr int PlotHeight = 609;
const QColor PaleYellow(255, 255, 192);

// The same surface asking the passes for every segment, one by one.
class EverySegment : public PlotSurface {
public:
    using PlotSurface::PlotSurface;
    plot::PixelSize Pixels() const override { return {}; }
};

// Draws waveform "AM", "noise" or "silence", or "spectrum": a low noise floor
// with a few tall lines, one-sided like an amplitude spectrum.
QImage Draw(PlotSurface&& surface, const QString& shape, int n, double scale)
{
    std::vector<double> values = shape == "AM" ? plot::test::AmSignal(n) : std::vector<double>(n + 1U, 0.0);
    std::mt19937 random(7U);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    for (int i = 0; i < n && (shape == "noise" || shape == "spectrum"); ++i) {
        values[static_cast<std::size_t>(i)] = shape == "spectrum" ? 0.05 * std::fabs(noise(random)) : noise(random);
    }
    for (int tone = 1; tone <= 7 && shape == "spectrum"; ++tone) {
        values[static_cast<std::size_t>(n / 16 * tone)] = 1.0 / tone;
    }
    const double peak = std::fabs(std::ranges::max(values, {}, [](double v) { return std::fabs(v); }));
    surface.setFixedSize(PlotWidth, PlotHeight);
    if (shape == "spectrum") {
        plot::DrawSpectrumLines(surface, values, n, scale, peak, n / 2);
    } else {
        plot::DrawWaveformTrace(surface, values, n, scale, peak);
    }
    return surface.image();
}

int DifferingPixels(const QImage& a, const QImage& b)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            differing += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return differing;
}

int InkedPixels(const QImage& image, const QColor& background)
{
    QImage blank(image.size(), image.format());
    blank.fill(background);
    return DifferingPixels(image, blank);
}

// The colour at a logical position of an image kept at device-pixel resolution.
QColor At(const QImage& image, int x, int y)
{
    return image.pixelColor(qFloor(x * image.devicePixelRatio()), qFloor(y * image.devicePixelRatio()));
}

}  // namespace

class PlotSurfaceTest : public QObject {
    Q_OBJECT

private slots:
    void blankShowsTheBackgroundAndPixelsTheImage()
    {
        PlotSurface surface(PaleYellow);
        surface.setGeometry(8, 8, 40, 30);  // hidden: no resize event yet
        const plot::PixelSize pixels = surface.Pixels();
        QCOMPARE(QSize(pixels.width, pixels.height), surface.size() * surface.devicePixelRatioF());
        QCOMPARE(surface.image().size(), QSize(pixels.width, pixels.height));
        QCOMPARE(InkedPixels(surface.image(), PaleYellow), 0);
        surface.Line(0.0F, 0.0F, 100.0F, 100.0F, plot::Red);
        QVERIFY(InkedPixels(surface.image(), PaleYellow) > 0);
        surface.Blank();
        QCOMPARE(InkedPixels(surface.image(), PaleYellow), 0);
        // Drawing goes on after a blank, in plot coordinates with no Scale called.
        surface.Line(25.0F, 0.0F, 25.0F, 100.0F, plot::Red);
        QCOMPARE(At(surface.image(), 10, 15), QColor(Qt::red));
        QCOMPARE(At(surface.image(), 12, 15), PaleYellow);
    }

    void drawingPersistsWhileHiddenAndAcrossPaints()
    {
        PlotSurface surface(Qt::black);
        surface.setFixedSize(100, 100);
        surface.Line(50.0F, 0.0F, 50.0F, 90.0F, plot::Red);  // drawn while never shown
        surface.show();
        QVERIFY(QTest::qWaitForWindowExposed(&surface));
        surface.hide();
        surface.Line(20.0F, 0.0F, 20.0F, 90.0F, plot::Red);  // drawn while hidden after a paint
        surface.show();
        const QImage shown = surface.grab().toImage();
        QCOMPARE(At(shown, 50, 50), QColor(Qt::red));
        QCOMPARE(At(shown, 20, 50), QColor(Qt::red));
        QCOMPARE(At(shown, 35, 50), QColor(Qt::black));
    }

    void mouseMoveAndReadout()
    {
        PlotSurface surface(PaleYellow);
        surface.setFixedSize(PlotWidth, PlotHeight);
        surface.show();
        QVERIFY(QTest::qWaitForWindowExposed(&surface));
        QSignalSpy moved(&surface, &PlotSurface::MouseMoved);
        const QPointF position(PlotWidth / 2.0, PlotHeight / 4.0);  // mid-width, a quarter down
        QMouseEvent move(QEvent::MouseMove, position, surface.mapToGlobal(position), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&surface, &move);
        QCOMPARE(moved.count(), 1);
        // A fractional pixel ratio lets the image reach half a device pixel
        // past the widget, and positions follow the image.
        const double slack = surface.devicePixelRatioF() == 1.0 ? 1e-4 : 0.2;
        QVERIFY(std::fabs(moved.at(0).at(0).toDouble() - 50.0) < slack);
        QVERIFY(std::fabs(moved.at(0).at(1).toDouble() - 75.0) < slack);
        const QString text = QStringLiteral("t= 1,00 msec ; V(t) = 3,75E+01 V");
        surface.SetReadout(text);
        QCOMPARE(surface.toolTip(), text);
        surface.SetReadout(QString());
        QVERIFY(surface.toolTip().isEmpty());
    }

    void mergedMatchesOneByOne_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("scale");  // Kt, or FreqScale for the spectrum
        for (const int n : {1000, 100000, 1000000}) {
            // FreqScale 1 puts every bin up to LastBin inside the width: the densest lines.
            for (const char* shape : {"AM", "noise", "spectrum"}) {
                QTest::addRow("%s, N = %d", shape, n) << QString(shape) << n << 1.0;
            }
        }
        // A zero peak puts every point on one row: only the shallow-segment rule lights it.
        QTest::newRow("silence, N = 100000") << QStringLiteral("silence") << 100000 << 1.0;
        QTest::newRow("AM, N = 100000, Kt = 2") << QStringLiteral("AM") << 100000 << 2.0;
        QTest::newRow("spectrum, N = 100000, a quarter visible") << QStringLiteral("spectrum") << 100000 << 4.0;
    }

    void mergedMatchesOneByOne()
    {
        QFETCH(QString, shape);
        QFETCH(int, n);
        QFETCH(double, scale);
        const QColor background = shape == "spectrum" ? QColor(Qt::black) : PaleYellow;
        const QImage merged = Draw(PlotSurface(background), shape, n, scale);
        const QImage expected = Draw(EverySegment(background), shape, n, scale);
        QVERIFY(InkedPixels(expected, background) > 0);
        const double share = 100.0 * DifferingPixels(merged, expected) / (merged.width() * merged.height());
        QVERIFY2(share <= 0.1, qPrintable(QStringLiteral("%1% of the pixels differ").arg(share)));
    }
};

QTEST_MAIN(PlotSurfaceTest)
#include "PlotSurfaceTest.moc"
