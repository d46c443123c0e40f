#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <random>
#include <vector>

#include "plot/PlotPasses.h"
#include "tests/support/AmSignal.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/PlotSurface.h"

using trelvano::PlotSurface;
using trelvano::uitest::Count;
namespace plot = trelvano::plot;

namespace {

const QColor PaleYellow(255, 255, 192);

// The same surface asking the passes for every segment, one by one.
class EverySegment : public PlotSurface {
public:
    using PlotSurface::PlotSurface;
    plot::PixelSize Pixels() const override { return {}; }
};

// Waveform "AM", "noise" or "silence" (zero peak), or "spectrum": dense lines of random height; as the screen
// gets it, in device pixels.
QImage Draw(PlotSurface&& surface, const QString& shape, int n)
{
    std::vector<double> values = shape == "AM" ? trelvano::support::AmSignal(n) : std::vector<double>(n + 1U, 0.0);
    std::mt19937 random(7U);
    std::uniform_real_distribution<double> noise(shape == "spectrum" ? 0.0 : -1.0, 1.0);
    if (shape == "noise" || shape == "spectrum") std::generate_n(values.begin(), n, [&] { return noise(random); });
    const double peak = shape == "AM" ? 37.5 : shape == "silence" ? 0.0 : 1.0;
    surface.setFixedSize(1001, 609);  // the waveform plot: 15015 × 9135 twips
    if (shape == "spectrum") plot::DrawSpectrumLines(surface, values, n, 1.0, peak, n / 2);  // every bin inside
    else plot::DrawWaveformTrace(surface, values, n, 1.0, peak);
    return surface.grab().toImage();
}

int DifferingPixels(const QImage& a, const QImage& b)
{
    int differing = 0;
    for (int i = 0; i < a.width() * a.height(); ++i) {
        differing += a.pixel(i % a.width(), i / a.width()) != b.pixel(i % a.width(), i / a.width()) ? 1 : 0;
    }
    return differing;
}

int InkedPixels(const QImage& image)
{
    return image.width() * image.height() - Count(image, PaleYellow);
}

}  // namespace

class PlotSurfaceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { trelvano::uitest::DropOffscreenRaiseWarnings(); }
    void keepsItsDrawingAndFollowsTheMouse()
    {
        PlotSurface surface(PaleYellow);
        surface.setFixedSize(200, 120);  // hidden: no resize event yet
        const plot::PixelSize pixels = surface.Pixels();
        QCOMPARE(QSize(pixels.width, pixels.height), surface.size());
        surface.Line(0.0F, 0.0F, 100.0F, 100.0F, plot::Red);
        QVERIFY(InkedPixels(surface.Image()) > 0);
        surface.Blank();
        QCOMPARE(InkedPixels(surface.Image()), 0);
        surface.Line(50.0F, 0.0F, 50.0F, 90.0F, plot::Red);  // after a blank, never shown, no Scale called
        surface.show();
        QVERIFY(QTest::qWaitForWindowExposed(&surface));
        surface.hide();
        surface.Line(20.0F, 0.0F, 20.0F, 90.0F, plot::Red);  // hidden after a paint
        surface.show();
        const QImage shown = surface.grab().toImage();
        const auto at = [&](int x) { return shown.pixelColor(QPoint(x, 60) * shown.devicePixelRatio()); };
        QVERIFY(at(100) == Qt::red && at(40) == Qt::red && at(70) == PaleYellow);

        QSignalSpy moved(&surface, &PlotSurface::MouseMoved);
        QTest::mouseMove(&surface, QPoint(100, 30));  // mid-width, a quarter down
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.at(0).at(0).toFloat(), 50.0F);
        QCOMPARE(moved.at(0).at(1).toFloat(), 75.0F);
    }

    // The suite runs once as it is and once with QT_SCALE_FACTOR=2.
    void linesAreOnePixelOfTheWindowsScale()
    {
        const int ratio = qMax(1, qEnvironmentVariableIntValue("QT_SCALE_FACTOR"));
        PlotSurface surface(PaleYellow);
        surface.setFixedSize(200, 120);
        QCOMPARE(surface.devicePixelRatioF(), qreal(ratio));
        surface.Line(0.0F, 50.0F, 100.0F, 50.0F, plot::Black);  // window row 60
        surface.Line(25.0F, 0.0F, 25.0F, 100.0F, plot::Red);    // window column 50
        const QImage shown = surface.grab().toImage();
        // Window row 60 and column 50 as blocks `ratio` device pixels wide, no blend at their edges.
        QImage expected(surface.size() * ratio, shown.format());
        expected.fill(PaleYellow);
        QPainter painter(&expected);
        painter.fillRect(0, 60 * ratio, 200 * ratio, ratio, Qt::black);
        painter.fillRect(50 * ratio, 0, ratio, 120 * ratio, Qt::red);
        painter.end();
        QCOMPARE(shown.size(), expected.size());
        QCOMPARE(DifferingPixels(shown, expected), 0);
    }

    void mergedMatchesOneByOne_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<int>("n");
        for (const int n : {1000, 100000, 1000000}) {
            for (const char* shape : {"AM", "noise", "spectrum"}) {
                QTest::addRow("%s, N = %d", shape, n) << QString(shape) << n;
            }
        }
        // A zero peak puts every point on one row: only the shallow-segment rule lights it.
        QTest::newRow("silence, N = 100000") << QStringLiteral("silence") << 100000;
    }

    void mergedMatchesOneByOne()
    {
        QFETCH(QString, shape);
        QFETCH(int, n);
        const QImage merged = Draw(PlotSurface(PaleYellow), shape, n);
        const QImage expected = Draw(EverySegment(PaleYellow), shape, n);
        QVERIFY(InkedPixels(expected) > 0);
        const double share = 100.0 * DifferingPixels(merged, expected) / (merged.width() * merged.height());
        QVERIFY2(share <= 0.1, qPrintable(QStringLiteral("%1% of the pixels differ").arg(share)));
    }
};

QTEST_MAIN(PlotSurfaceTest)
#include "PlotSurfaceTest.moc"
