#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QtMath>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "plot/PlotMapping.h"
#include "plot/PlotPasses.h"
#include "ui/PlotSurface.h"

using trelvano::PlotSurface;
namespace plot = trelvano::plot;

namespace {

// The waveform plot's size in pixels: 15015 × 9135 twips.
constexpr int PlotWidth = 1001;
constexpr int PlotHeight = 609;
const QColor PaleYellow(255, 255, 192);

// The default AM waveform: 25 V carrier at 30 kHz, index 0.5 at 3 kHz, over 2 ms.
std::vector<double> AmSignal(int n)
{
    std::vector<double> signal(static_cast<std::size_t>(n) + 1, 0.0);
    for (int i = 0; i < n; ++i) {
        const double t = i * 0.002 / n;
        signal[static_cast<std::size_t>(i)] = 25.0 * (1.0 + 0.5 * std::cos(6.28318530717958 * 3000.0 * t))
                                             * std::cos(6.28318530717958 * 30000.0 * t);
    }
    return signal;
}

std::vector<double> NoiseSignal(int n, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    std::vector<double> signal(static_cast<std::size_t>(n) + 1, 0.0);
    for (int i = 0; i < n; ++i) {
        signal[static_cast<std::size_t>(i)] = uniform(random);
    }
    return signal;
}

// A low noise floor with a few tall lines, one-sided like an amplitude spectrum.
std::vector<double> TonesOnNoise(int n, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> floor(0.0, 0.05);
    std::vector<double> spectrum(static_cast<std::size_t>(n) + 2, 0.0);
    for (auto& level : spectrum) {
        level = floor(random);
    }
    for (int tone = 1; tone <= 7; ++tone) {
        spectrum[static_cast<std::size_t>(n) * static_cast<std::size_t>(tone) / 16] = 1.0 / tone;
    }
    return spectrum;
}

double PeakOf(const std::vector<double>& values)
{
    double peak = 0.0;
    for (const double v : values) {
        peak = std::max(peak, std::fabs(v));
    }
    return peak;
}

// The reference: every segment or line drawn on its own, straight onto an
// image, with a plain pen and the plot transform built independently.
class OneByOne {
public:
    OneByOne(QSize pixels, const QColor& background, const QColor& ink) : image_(pixels, QImage::Format_RGB32)
    {
        image_.fill(background);
        painter_.begin(&image_);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        QPen pen(ink, 1.0, Qt::SolidLine, Qt::FlatCap);
        pen.setCosmetic(true);
        painter_.setPen(pen);
        const double w = pixels.width();
        const double h = pixels.height();
        painter_.setTransform(QTransform(w / 100.0, 0.0, 0.0, -h / 100.0, 0.0, h));
    }
    void Line(double x1, double y1, double x2, double y2)
    {
        painter_.drawLine(QPointF(static_cast<float>(x1), static_cast<float>(y1)),
                          QPointF(static_cast<float>(x2), static_cast<float>(y2)));
    }
    QImage Finish()
    {
        painter_.end();
        return image_;
    }

private:
    QImage image_;
    QPainter painter_;
};

QImage TraceOneByOne(QSize pixels, const std::vector<double>& signal, int n, double kt, double peak)
{
    OneByOne reference(pixels, PaleYellow, Qt::black);
    for (int i = 0; i < n; ++i) {
        reference.Line(plot::SampleX(i, n, kt), plot::SampleY(signal[static_cast<std::size_t>(i)], peak),
                       plot::SampleX(i + 1, n, kt), plot::SampleY(signal[static_cast<std::size_t>(i) + 1], peak));
    }
    return reference.Finish();
}

QImage LinesOneByOne(QSize pixels, const std::vector<double>& spectrum, int n, double freqScale, double peak,
                     int lastBin)
{
    OneByOne reference(pixels, Qt::black, Qt::red);
    for (int k = 1; k <= lastBin; ++k) {
        const double x = plot::BinX(k, n, freqScale);
        reference.Line(x, 0.0, x, plot::BinHeight(spectrum[static_cast<std::size_t>(k)], peak));
    }
    return reference.Finish();
}

int DifferingPixels(const QImage& a, const QImage& b)
{
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            differing += left.pixel(x, y) != right.pixel(x, y) ? 1 : 0;
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
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(qFloor(x * ratio), qFloor(y * ratio));
}

QSize SizeOf(plot::PixelSize pixels)
{
    return {pixels.width, pixels.height};
}

void SendMouseMove(QWidget& widget, QPointF position)
{
    QMouseEvent move(QEvent::MouseMove, position, widget.mapToGlobal(position), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

}  // namespace

class PlotSurfaceTest : public QObject {
    Q_OBJECT

private slots:
    void blankShowsTheBackground_data();
    void blankShowsTheBackground();
    void pixelsAreTheImageSize();
    void linesUsePlotCoordinatesBeforeAnyScale();
    void drawingPersistsWhileHiddenAndAcrossPaints();
    void resizeKeepsTheDrawingAndFollowsTheSize();
    void mouseMoveReportsUserCoordinates_data();
    void mouseMoveReportsUserCoordinates();
    void readoutSetsTheToolTip();
    void mergedTraceMatchesOneByOne_data();
    void mergedTraceMatchesOneByOne();
    void mergedLinesMatchOneByOne_data();
    void mergedLinesMatchOneByOne();
};

void PlotSurfaceTest::blankShowsTheBackground_data()
{
    QTest::addColumn<QColor>("background");
    QTest::newRow("waveform plot, pale yellow") << QColor(255, 255, 192);
    QTest::newRow("spectrum plot, black") << QColor(0, 0, 0);
}

void PlotSurfaceTest::blankShowsTheBackground()
{
    QFETCH(QColor, background);
    PlotSurface surface(background);
    surface.setFixedSize(40, 30);
    QVERIFY(!surface.image().isNull());
    QCOMPARE(InkedPixels(surface.image(), background), 0);  // blank from the start
    surface.Line(0.0F, 0.0F, 100.0F, 100.0F, plot::Red);
    QVERIFY(InkedPixels(surface.image(), background) > 0);
    surface.Blank();
    QCOMPARE(InkedPixels(surface.image(), background), 0);
    surface.Line(25.0F, 0.0F, 25.0F, 100.0F, plot::Red);  // drawing goes on after a blank
    QCOMPARE(At(surface.image(), 10, 15), QColor(Qt::red));
}

void PlotSurfaceTest::pixelsAreTheImageSize()
{
    PlotSurface surface(PaleYellow);
    surface.setGeometry(8, 8, PlotWidth, PlotHeight);  // hidden: no resize event yet
    const plot::PixelSize pixels = surface.Pixels();
    const qreal ratio = surface.devicePixelRatioF();
    QCOMPARE(pixels.width, qRound(PlotWidth * ratio));
    QCOMPARE(pixels.height, qRound(PlotHeight * ratio));
    QCOMPARE(surface.image().size(), QSize(pixels.width, pixels.height));
    QCOMPARE(surface.image().devicePixelRatio(), ratio);
}

void PlotSurfaceTest::linesUsePlotCoordinatesBeforeAnyScale()
{
    PlotSurface surface(PaleYellow);
    surface.setFixedSize(200, 100);
    surface.Line(0.0F, 50.0F, 100.0F, 50.0F, plot::Black);  // the zero axis
    surface.Line(25.0F, 0.0F, 25.0F, 100.0F, plot::Red);
    const QImage& image = surface.image();
    QCOMPARE(At(image, 10, 50), QColor(Qt::black));
    QCOMPARE(At(image, 190, 50), QColor(Qt::black));
    QCOMPARE(At(image, 50, 10), QColor(Qt::red));
    QCOMPARE(At(image, 50, 90), QColor(Qt::red));
    QCOMPARE(At(image, 10, 10), PaleYellow);
    // A later Scale with the same corners changes nothing.
    surface.Scale(0.0, 100.0, 100.0, 0.0);
    surface.Line(75.0F, 0.0F, 75.0F, 100.0F, plot::Black);
    QCOMPARE(At(surface.image(), 150, 20), QColor(Qt::black));
}

void PlotSurfaceTest::drawingPersistsWhileHiddenAndAcrossPaints()
{
    PlotSurface surface(Qt::black);
    surface.setFixedSize(100, 100);
    surface.Line(50.0F, 0.0F, 50.0F, 90.0F, plot::Red);  // drawn while never shown
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    const QImage shown = surface.grab().toImage();
    QCOMPARE(At(shown, 50, 50), QColor(Qt::red));
    QCOMPARE(At(shown, 20, 50), QColor(Qt::black));
    surface.hide();
    surface.Line(20.0F, 0.0F, 20.0F, 90.0F, plot::Red);
    surface.show();
    const QImage again = surface.grab().toImage();
    QCOMPARE(At(again, 50, 50), QColor(Qt::red));
    QCOMPARE(At(again, 20, 50), QColor(Qt::red));
}

void PlotSurfaceTest::resizeKeepsTheDrawingAndFollowsTheSize()
{
    PlotSurface surface(Qt::black);
    surface.setFixedSize(100, 100);
    surface.Line(50.0F, 0.0F, 50.0F, 100.0F, plot::Red);
    surface.setFixedSize(200, 100);
    const qreal ratio = surface.devicePixelRatioF();
    QCOMPARE(surface.image().size(), QSize(qRound(200 * ratio), qRound(100 * ratio)));
    QCOMPARE(At(surface.image(), 50, 50), QColor(Qt::red));  // where it was
    QCOMPARE(At(surface.image(), 150, 50), QColor(Qt::black));
    surface.Line(75.0F, 0.0F, 75.0F, 100.0F, plot::Red);  // plot coordinates span the new width
    QCOMPARE(At(surface.image(), 150, 50), QColor(Qt::red));
}

void PlotSurfaceTest::mouseMoveReportsUserCoordinates_data()
{
    QTest::addColumn<QPointF>("position");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::newRow("centre") << QPointF(PlotWidth / 2.0, PlotHeight / 2.0) << 50.0F << 50.0F;
    QTest::newRow("top-left corner") << QPointF(0.0, 0.0) << 0.0F << 100.0F;
    QTest::newRow("bottom-right corner") << QPointF(PlotWidth, PlotHeight) << 100.0F << 0.0F;
    QTest::newRow("a quarter in, near the bottom") << QPointF(PlotWidth / 4.0, PlotHeight * 0.95) << 25.0F << 5.0F;
}

void PlotSurfaceTest::mouseMoveReportsUserCoordinates()
{
    QFETCH(QPointF, position);
    QFETCH(float, x);
    QFETCH(float, y);
    PlotSurface surface(PaleYellow);
    surface.setFixedSize(PlotWidth, PlotHeight);
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    QVERIFY(surface.hasMouseTracking());
    QSignalSpy moved(&surface, &PlotSurface::MouseMoved);
    SendMouseMove(surface, position);
    QCOMPARE(moved.count(), 1);
    // The image has whole device pixels: with a fractional pixel ratio it may
    // reach half a device pixel past the widget, and positions follow the image.
    const plot::PixelSize pixels = surface.Pixels();
    const float slackX = surface.devicePixelRatioF() == 1.0 ? 1e-4F : 100.0F / static_cast<float>(pixels.width);
    const float slackY = surface.devicePixelRatioF() == 1.0 ? 1e-4F : 100.0F / static_cast<float>(pixels.height);
    QVERIFY(std::fabs(moved.at(0).at(0).toFloat() - x) < slackX);
    QVERIFY(std::fabs(moved.at(0).at(1).toFloat() - y) < slackY);
}

void PlotSurfaceTest::readoutSetsTheToolTip()
{
    PlotSurface surface(PaleYellow);
    QVERIFY(surface.toolTip().isEmpty());
    const QString text = QStringLiteral("t= 1,00 msec ; V(t) = 3,75E+01 V");
    surface.SetReadout(text);
    QCOMPARE(surface.toolTip(), text);
    surface.SetReadout(QString());
    QVERIFY(surface.toolTip().isEmpty());
}

void PlotSurfaceTest::mergedTraceMatchesOneByOne_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("kt");
    for (const int n : {1000, 10000, 100000, 1000000}) {
        QTest::addRow("AM, N = %d", n) << QStringLiteral("AM") << n << 1.0;
        QTest::addRow("noise, N = %d", n) << QStringLiteral("noise") << n << 1.0;
    }
    // A zero peak puts every point on one row: only the shallow-line rule lights it.
    QTest::newRow("silence, N = 100000") << QStringLiteral("silence") << 100000 << 1.0;
    // Half the trace beyond the right edge, or squeezed into the left half.
    QTest::newRow("AM, N = 100000, Kt = 2") << QStringLiteral("AM") << 100000 << 2.0;
    QTest::newRow("AM, N = 100000, Kt = 0.5") << QStringLiteral("AM") << 100000 << 0.5;
}

void PlotSurfaceTest::mergedTraceMatchesOneByOne()
{
    QFETCH(QString, shape);
    QFETCH(int, n);
    QFETCH(double, kt);
    std::vector<double> signal(static_cast<std::size_t>(n) + 1, 0.0);
    if (shape == QLatin1String("AM")) {
        signal = AmSignal(n);
    } else if (shape == QLatin1String("noise")) {
        signal = NoiseSignal(n, 7U);
    }
    const double peak = PeakOf(signal);
    PlotSurface surface(PaleYellow);
    surface.setFixedSize(PlotWidth, PlotHeight);
    plot::DrawWaveformTrace(surface, signal, n, kt, peak);
    const QImage merged = surface.image();
    const QImage reference = TraceOneByOne(SizeOf(surface.Pixels()), signal, n, kt, peak);
    QVERIFY(InkedPixels(reference, PaleYellow) > 0);
    const int differing = DifferingPixels(merged, reference);
    const double share = 100.0 * differing / (merged.width() * merged.height());
    qInfo("trace %s, N = %d, Kt = %g: %d pixels differ (%.4f%%)", qPrintable(shape), n, kt, differing, share);
    QVERIFY2(share <= 0.1, qPrintable(QStringLiteral("%1% of the pixels differ").arg(share)));
}

void PlotSurfaceTest::mergedLinesMatchOneByOne_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("freqScale");
    for (const int n : {1000, 10000, 100000, 1000000}) {
        // FreqScale 1 is the carrier at the sampling limit: every bin up to
        // LastBin lies inside the width, the densest the lines can be.
        QTest::addRow("all bins visible, N = %d", n) << n << 1.0;
        QTest::addRow("a quarter visible, N = %d", n) << n << 4.0;
    }
}

void PlotSurfaceTest::mergedLinesMatchOneByOne()
{
    QFETCH(int, n);
    QFETCH(double, freqScale);
    const std::vector<double> spectrum = TonesOnNoise(n, 11U);
    const double peak = PeakOf(spectrum);
    const int lastBin = n / 2;
    PlotSurface surface(Qt::black);
    surface.setFixedSize(PlotWidth, PlotHeight);
    plot::DrawSpectrumLines(surface, spectrum, n, freqScale, peak, lastBin);
    const QImage merged = surface.image();
    const QImage reference = LinesOneByOne(SizeOf(surface.Pixels()), spectrum, n, freqScale, peak, lastBin);
    QVERIFY(InkedPixels(reference, Qt::black) > 0);
    const int differing = DifferingPixels(merged, reference);
    const double share = 100.0 * differing / (merged.width() * merged.height());
    qInfo("lines scale %g N=%d: %d pixels differ (%.4f%%)", freqScale, n, differing, share);
    QVERIFY2(share <= 0.1, qPrintable(QStringLiteral("%1% of the pixels differ").arg(share)));
}

QTEST_MAIN(PlotSurfaceTest)
#include "PlotSurfaceTest.moc"
