// One press of "Grafici": the messages in their order, faults, the message box,
// and what a completed run leaves on the two plots.

#include <QMessageBox>
#include <QTimer>
#include <cmath>

#include "UiTestSupport.h"
#include "engine/RuntimeFault.h"
#include "ui/BusyCursor.h"
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

// Columns taller than the stub a zero-height line leaves, away from every line at `xs`.
int StrayLines(const QImage& image, const std::vector<double>& xs)
{
    int stray = 0;
    for (int c = 0; c < image.width(); ++c) {
        const auto near = [&](double x) { return std::abs(c - ColumnOf(image, x)) <= 1; };
        stray += std::none_of(xs.begin(), xs.end(), near) && Count(image, Red, c, c + 1) > 3;
    }
    return stray;
}

}  // namespace

Q_DECLARE_METATYPE(Press)

class GraficiPressTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Session> s_;

    void enter(const Press& e)
    {
        s_->setEntry("Text1", e.W);
        s_->setEntry("Text13", e.N);
        s_->setEntry("Text3", e.fp);
        s_->setEntry("Text7", e.fm);
        s_->setType(e.type);
    }
    // A run that passes every check; the images are those of the two plots.
    void run(const QString& type)
    {
        s_->setType(type);
        s_->press();
        QVERIFY(s_->messages.texts.empty());
    }
    const QImage& spectrum() { return s_->spectrum().Picture1().image(); }
    const QImage& waveform() { return s_->waveform().Picture1().image(); }

private slots:
    void init() { s_ = std::make_unique<Session>(); }
    void cleanup() { s_.reset(); }

    void pressShowsItsMessagesInOrder_data()
    {
        using namespace messages;
        const auto fault = [](FaultKind kind) { return Texts{FaultText(kind)}; };
        QTest::addColumn<Press>("p");
        QTest::newRow("defaults") << Press{};
        QTest::newRow("decimals, fm rounds to 0") << Press{"2.5", "1000", "30.5", "0.5", "AM", {M1, M2, M3, M4}, false};
        QTest::newRow("decimals, usable") << Press{"2.5", "1000", "30.5", "3.5", "FM", {M1, M2, M3}};
        QTest::newRow("carrier above the sampling limit") << Press{"2", "1000", "126", "3", "AM", {M5}, false};
        QTest::newRow("carrier at the sampling limit") << Press{"2", "1000", "125", "3", "PM"};
        QTest::newRow("type with a trailing blank") << Press{"2", "1000", "30", "3", "AM ", {M6}, false};
        QTest::newRow("decimal comma ends the number") << Press{"2,5"};
        QTest::newRow("N + 1 overflows") << Press{"2", "2147483647", "30", "3", "AM", fault(FaultKind::Overflow)};
        QTest::newRow("negative N") << Press{"-2", "-1000", "30", "3", "AM", fault(FaultKind::IndexOutOfRange)};
        QTest::newRow("N beyond 32 bits") << Press{"2", "1e10", "30", "3", "AM", fault(FaultKind::Overflow), false};
    }
    void pressShowsItsMessagesInOrder()
    {
        QFETCH(Press, p);
        enter(p);
        s_->press();
        QCOMPARE(s_->messages.texts, p.expected);
        QCOMPARE(s_->windows.ExistingWaveformWindow() && s_->waveform().isVisible(), p.runs);
        QCOMPARE(s_->windows.ExistingSpectrumWindow() != nullptr, p.runs);
        // Boxes come under the busy cursor, which ends with the press; entries are never rewritten.
        QCOMPARE(s_->messages.cursorShapes, std::vector<Qt::CursorShape>(p.expected.size(), Qt::WaitCursor));
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(s_->panel().Entries().Text1, p.W.toStdString());

        // Whatever happened, the next press with sound entries runs to the end.
        enter(Press{});
        s_->press();
        QCOMPARE(s_->messages.texts, p.expected);
        QVERIFY(s_->waveform().isVisible());
        QCOMPARE(s_->state.params.N, 1000);
        QVERIFY(s_->state.params.SpectrumPeak > 0.0);
    }

    void messageBoxIsPlainModalWithOneButton()
    {
        QString title, text;
        bool plain = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            const QCursor* cursor = QApplication::overrideCursor();
            title = box->windowTitle();
            text = box->text();
            plain = box->isModal() && box->icon() == QMessageBox::NoIcon && box->standardButtons() == QMessageBox::Ok &&
                    (!cursor || cursor->shape() == Qt::ArrowCursor);
            box->button(QMessageBox::Ok)->click();
        });
        BusyCursor busy;  // the box shows an ordinary pointer even during a busy action
        QtMessageSink().ShowMessage(messages::M5);
        QCOMPARE(title, "Trelvano");
        QCOMPARE(text, QString::fromUtf8(messages::M5));
        QVERIFY(plain);
        QVERIFY(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
    }

    void amRunDrawsCarrierSideLinesAndTrace()
    {
        run("AM");
        QVERIFY(s_->waveform().isVisible() && !s_->spectrum().isVisible());
        // Carrier at x = 50; mAM = 0.5 puts a quarter-height line fm = fp / 10 either side.
        QVERIFY(HasLine(spectrum(), 50, 90) && HasLine(spectrum(), 45, 22.5) && HasLine(spectrum(), 55, 22.5));
        QCOMPARE(StrayLines(spectrum(), {45, 50, 55}), 0);
        QCOMPARE(Count(spectrum(), Red) + Count(spectrum(), Black), spectrum().width() * spectrum().height());

        const QImage& wave = waveform();
        QCOMPARE(Count(wave, Black) + Count(wave, QColor(255, 255, 192)), wave.width() * wave.height());
        // The zero axis crosses at y = 50; the first sample, the AM peak, stands at y = 95 with nothing above.
        const int axis = wave.height() / 2, peak = wave.height() / 20;
        QVERIFY(Count(wave, Black, 0, INT_MAX, axis - 1, axis + 2) >= wave.width() - 2);
        QVERIFY(Count(wave, Black, 0, 1, peak, peak + 2) > 0);
        QCOMPARE(Count(wave, Black, 0, INT_MAX, 0, peak - 1), 0);
    }

    void fmRunFollowsTheBesselLines()
    {
        run("AM");
        run("FM");
        const double fp = 30000.0, fm = 3000.0, mf = 4.05, Kf = 0.5;
        double largest = 0.0;
        for (int n = 0; n <= 12; ++n) largest = std::max(largest, std::abs(std::cyl_bessel_j(n, mf)));
        std::vector<double> xs;
        for (int n = -8; n <= 8; ++n) {
            xs.push_back(50.0 * (fp + n * fm) / (fp + Kf * mf * fm));
            const double height = 90.0 * std::abs(std::cyl_bessel_j(std::abs(n), mf)) / largest;
            QVERIFY2(HasLine(spectrum(), xs.back(), height), qPrintable(QString("n = %1").arg(n)));
        }
        // The AM lines are gone.
        QCOMPARE(StrayLines(spectrum(), xs), 0);
    }

    void fmAndPmDrawTheSamePlots()
    {
        run("FM");
        const QImage lines = spectrum().copy(), trace = waveform().copy();
        run("PM");
        QCOMPARE(spectrum(), lines);
        QCOMPARE(waveform(), trace);
    }
};

QTEST_MAIN(GraficiPressTest)
#include "GraficiPressTest.moc"
