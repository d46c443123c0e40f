// The raster canvas against the desktop's plot surface: the same press drawn on both, then single segments.

#include <QTest>
#include <random>

#include "engine/AnalysisRun.h"
#include "plot/RasterCanvas.h"
#include "tests/support/Entries.h"
#include "ui/PlotSurface.h"

using namespace trelvano;

namespace {

constexpr plot::Rgb PaleYellow{255, 255, 192};
constexpr plot::PixelSize WaveformSize{1001, 609}, SpectrumSize{1009, 617};  // 15015 × 9135, 15135 × 9255 twips

// Pixels where the surface's image and the canvas's differ; -1 when their sizes do.
int Differing(const QImage& qt, const plot::RasterCanvas& raster)
{
    if (qt.width() != raster.Pixels().width || qt.height() != raster.Pixels().height) return -1;
    int differing = 0;
    for (int y = 0; y < qt.height(); ++y) {
        for (int x = 0; x < qt.width(); ++x) {
            const plot::Rgb r = raster.At(x, y);
            differing += qt.pixel(x, y) != qRgb(r.r, r.g, r.b);
        }
    }
    return differing;
}

// Pixels of the canvas other than opaque background: -1 when one is neither the line colour nor opaque.
int LinePixels(const plot::RasterCanvas& raster, plot::Rgb background, plot::Rgb line)
{
    int lit = 0;
    const auto rgba = raster.Rgba();
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        const plot::Rgb p{rgba[i], rgba[i + 1], rgba[i + 2]};
        if (rgba[i + 3] != 255 || (p != background && p != line)) return -1;
        lit += p == line;
    }
    return lit;
}

QColor ToQt(plot::Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

// A press's view of two plots.
struct Host : RunHost {
    Host(std::string type, plot::Canvas& waveform, plot::Canvas& spectrum)
        : type(std::move(type)), waveform(waveform), spectrum(spectrum)
    {
    }
    std::string ModulationText() override { return type; }
    void ShowWaveformWindow() override {}
    plot::Canvas& WaveformPlot() override { return waveform; }
    plot::Canvas& SpectrumPlot() override { return spectrum; }
    std::string type;
    plot::Canvas &waveform, &spectrum;
};

const char* const kSegmentKinds[] = {
    "anywhere in the guard box", "ends on pixel edges and centres", "under a pixel long", "of no length", "diagonal",
    "level or upright"};

}  // namespace

class RasterCanvasTest : public QObject {
    Q_OBJECT

private slots:
    // A whole press on both kinds of plot: at most 0.1 % of the pixels may differ, the share is printed.
    void pressDrawsTheSurfacesPixels_data()
    {
        QTest::addColumn<QString>("edits");
        QTest::addColumn<double>("ratio");
        const std::pair<const char*, const char*> presses[] = {
            {"AM", "Combo1=AM"},
            {"FM", "Combo1=FM"},
            {"PM, Kf 3", "Combo1=PM|Text5=3"},
            {"AM, N 200000: columns merged", "Combo1=AM|Text13=200000"},
            {"AM, Kt 0: the trace on one column", "Combo1=AM|Text2=0"},
            {"AM, Kt 0 and Vp 0: the trace one point, no lines", "Combo1=AM|Text2=0|Text8=0"},
            {"FM, Kt 2.7 and Kf 0.1: trace and lines past the box", "Combo1=FM|Text2=2.7|Text5=0.1"},
        };
        for (const auto& [name, edits] : presses) {
            for (const double ratio : {1.0, 2.0}) QTest::addRow("%s, ratio %g", name, ratio) << edits << ratio;
        }
        QTest::newRow("AM, N 200000, ratio 1.5") << "Combo1=AM|Text13=200000" << 1.5;
    }
    void pressDrawsTheSurfacesPixels()
    {
        QFETCH(QString, edits);
        QFETCH(double, ratio);
        const EntryTexts entries = support::Edited(edits.toStdString());
        // The desktop's surfaces with as many pixels as the canvases have at `ratio`.
        PlotSurface qtWaveform(ToQt(PaleYellow)), qtSpectrum(Qt::black);
        for (auto [surface, size] : {std::pair{&qtWaveform, WaveformSize}, std::pair{&qtSpectrum, SpectrumSize}})
            surface->setFixedSize(int(std::lround(size.width * ratio)), int(std::lround(size.height * ratio)));
        plot::RasterCanvas waveform(WaveformSize, PaleYellow, ratio), spectrum(SpectrumSize, plot::Black, ratio);
        Host qt(entries.Combo1, qtWaveform, qtSpectrum), raster(entries.Combo1, waveform, spectrum);
        for (Host* host : {&qt, &raster}) {
            AnalysisState state;
            support::RecordingSink messages;
            GraficiAction(state, entries, messages, *host);
            QVERIFY2(messages.texts.empty(), messages.texts.empty() ? "" : messages.texts.front().c_str());
        }
        const struct {
            const char* plot;
            const QImage& qt;
            const plot::RasterCanvas& raster;
            plot::Rgb background, line;
        } plots[] = {{"waveform", qtWaveform.Image(), waveform, PaleYellow, plot::Black},
                     {"spectrum", qtSpectrum.Image(), spectrum, plot::Black, plot::Red}};
        int lit = 0;
        for (const auto& p : plots) {
            const int differing = Differing(p.qt, p.raster);
            QVERIFY2(differing >= 0, p.plot);
            // Only opaque background and line pixels.
            const int pixels = LinePixels(p.raster, p.background, p.line);
            QVERIFY2(pixels >= 0, p.plot);
            lit += pixels;
            const double share = 100.0 * differing / (p.qt.width() * p.qt.height());
            qInfo("%s: %d of %d pixels differ (%.4f %%)", p.plot, differing, p.qt.width() * p.qt.height(), share);
            QVERIFY2(share <= 0.1, p.plot);
        }
        QVERIFY(lit > WaveformSize.width);  // more than the axis alone: the figures say something
    }

    // Single segments of every kind, each on a blank plot: the very pixels of the surface, none more or fewer.
    void segmentLightsTheSurfacesPixels_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        for (int k = 0; k < static_cast<int>(std::size(kSegmentKinds)); ++k) {
            for (const auto& [w, h] : {std::pair{61, 37}, std::pair{200, 122}})
                QTest::addRow("%s, %d x %d", kSegmentKinds[k], w, h) << k << w << h;
        }
    }
    void segmentLightsTheSurfacesPixels()
    {
        QFETCH(int, kind);
        QFETCH(int, width);
        QFETCH(int, height);
        PlotSurface qt(ToQt(PaleYellow));
        qt.setFixedSize(width, height);
        plot::RasterCanvas raster({width, height}, PaleYellow);
        std::mt19937 random(17U + static_cast<unsigned>(kind));
        std::uniform_real_distribution<float> guard(-100.0F, 200.0F), near(-5.0F, 105.0F), step(-3.0F, 3.0F);
        // Plot units per device pixel, so that ends can land on pixel edges and centres.
        const float px = 100.0F / width, py = 100.0F / height;
        const auto half = [](float v, float unit) { return std::round(v / unit * 2.0F) / 2.0F * unit; };
        int lit = 0;
        const int segments = 2000;
        for (int i = 0; i < segments; ++i) {
            float x1 = near(random), y1 = near(random), x2 = x1, y2 = y1;
            const float d = step(random);
            switch (kind) {
            case 0:
                x1 = guard(random), y1 = guard(random), x2 = guard(random), y2 = guard(random);
                break;
            case 1:
                x1 = half(x1, px), y1 = half(y1, py), x2 = half(near(random), px), y2 = half(near(random), py);
                break;
            case 2:
                x2 += d * px / 3.0F, y2 += step(random) * py / 3.0F;
                break;
            case 3:
                if (i % 2) x1 = x2 = half(x1, px), y1 = y2 = half(y1, py);
                break;
            case 4:
                x2 += d * 7.0F * px, y2 += (i % 2 ? d : -d) * 7.0F * py;
                break;
            default:
                (i % 2 ? x2 : y2) += d * 20.0F;
                break;
            }
            qt.Blank();
            raster.Blank();
            qt.Line(x1, y1, x2, y2, plot::Black);
            raster.Line(x1, y1, x2, y2, plot::Black);
            const int differing = Differing(qt.Image(), raster);
            QVERIFY2(differing == 0, qPrintable(QStringLiteral("(%1, %2)-(%3, %4): %5 pixels differ")
                                                    .arg(x1, 0, 'g', 9)
                                                    .arg(y1, 0, 'g', 9)
                                                    .arg(x2, 0, 'g', 9)
                                                    .arg(y2, 0, 'g', 9)
                                                    .arg(differing)));
            lit += LinePixels(raster, PaleYellow, plot::Black) > 0;
        }
        // Most segments show: the comparison is not one of blank images.
        QVERIFY2(lit > segments / 2, qPrintable(QString::number(lit)));
    }
};

QTEST_MAIN(RasterCanvasTest)
#include "RasterCanvasTest.moc"
