// The three windows showing the session. CMakeLists.txt runs some tests again with QT_SCALE_FACTOR=2 and under
// Italian regional settings; tools/windows/test.sh runs the caption fit on Windows' own platform.

#include <QAccessible>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <optional>
#include <tuple>
#include <vector>

#include "engine/entries/Messages.h"
#include "tests/support/Entries.h"
#include "ui/AppWindows.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form3.h"
#include "ui/PlotSurface.h"
#include "ui/QtMessageSink.h"

using namespace trelvano;

namespace {

const QColor Red(255, 0, 0), Black(0, 0, 0), PaleYellow(255, 255, 192), Pink(255, 192, 192), Cyan(192, 255, 255);

// Pixels of `colour` in the image.
int Count(const QImage& image, QColor colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
    }
    return count;
}

struct Windows {
    Session session;
    support::RecordingSink messages;
    AppWindows windows{session, messages};

    Form1& Panel() { return windows.InputPanel(); }
    Form2& Waveform() { return windows.WaveformWindow(); }
    Form3& Spectrum() { return windows.SpectrumWindow(); }
    // The initial entries with the type chosen, pressed with the panel up; true when no message came.
    bool RunDefaults()
    {
        Panel().show();
        Panel().findChild<QComboBox*>("Combo1")->setEditText("AM");
        Panel().Command2_Click();
        return messages.texts.empty();
    }
};

// A readout with the decimal separator of the user's regional settings: the program sets no locale.
QString Local(QString text)
{
    return text.replace('.', QLocale::system().decimalPoint());
}

QRect Pixels(const Twips& t)
{
    return QRect(t.left / 15, t.top / 15, t.width / 15, t.height / 15);
}

// The colour 4 px in from the right edge, half-way down.
QColor Probe(QWidget* w)
{
    return w->grab().toImage().pixelColor(w->width() - 4, w->height() / 2);
}

// A closed window is deleted once control returns to the event loop.
void Close(QWidget* window)
{
    QVERIFY(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

const char* const kWaveformHint = "Sposta il cursore del mouse sulla forma d'onda , comparirà il valore in quel punto";
constexpr auto Bold = QFont::Bold, Normal = QFont::Normal;
// A control of a window, or with no name the window itself: geometry in twips (a null one not checked, a
// window's its client size), text (a window's its caption; none not checked), the colour it shows, its weight.
const std::tuple<const char*, const char*, Twips, const char*, QColor, std::optional<QFont::Weight>> kControls[] = {
    {"Form1", "", {0, 0, 13830, 5205}, "Trelvano", {}, Bold},
    {"Form2", "", {0, 0, 18495, 10005}, "Forme d'onda reali", {}, Normal},
    {"Form3", "", {0, 0, 17460, 9705}, "Spettro", {}, Normal},
    {"Form1", "Label67", {}, nullptr, Cyan, Normal},  // the palette reaches the screen; the contact keeps its font
    {"Form1", "Combo1", {}, kTypeBoxInitialText, {}, Bold},
    {"Form1", "Command2", {}, "Grafici", Pink, Bold},
    {"Form2", "Picture1", {120, 120, 15015, 9135}, nullptr, PaleYellow, {}},
    {"Form2", "Label1", {120, 9480, 8655, 375}, kWaveformHint, {}, Bold},
    {"Form2", "Command1", {15360, 480, 1935, 855}, "Visualizza spettro", Red, Bold},
    {"Form2", "Option1", {}, "V(t)", {}, Bold},
    {"Form2", "Option2", {15240, 6840, 855, 375}, "Vr(t)", {}, {}},
    {"Form3", "Picture1", {0, 0, 15135, 9255}, nullptr, Black, {}},
    {"Form3", "Label4", {}, "Righe dello spettro in rosso", {}, Bold},
};

}  // namespace

class UiTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Windows> s_;

private slots:
    void initTestCase()
    {
        // The offscreen platform, having no window stacking, says so on every raise(): that message is dropped.
        static const QtMessageHandler next =
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
                if (!text.startsWith(QLatin1String("This plugin does not support "))) next(type, context, text);
            });
        // The Italian run proves the readout follows the system only where the system gives the comma.
        if (qEnvironmentVariable("LANG").startsWith("it")) QCOMPARE(QLocale::system().decimalPoint(), QString(','));
    }
    void init() { s_ = std::make_unique<Windows>(); }
    void cleanup()
    {
        s_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // First of all: Qt Test's synthetic pointer carries enter and leave over from one test to the next. The
    // readout stays up while the pointer rests, past the ten seconds after which Qt takes a tooltip down.
    void readoutStaysWhileThePointerRestsOnThePlot()
    {
        QWidget window;
        window.resize(300, 200);
        PlotSurface surface(Black, &window);
        surface.setGeometry(0, 0, 200, 120);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseMove(&surface, QPoint(100, 30));
        QTRY_VERIFY(surface.underMouse());
        const QString readout = QStringLiteral("f= 30000,00 Hz ; S(f) = 2,50E+01 V");
        surface.SetReadout(readout, QPointF(100, 30));
        QTRY_VERIFY(QToolTip::isVisible());
        QTest::qWait(11000);
        QVERIFY(QToolTip::isVisible() && QToolTip::text() == readout);
        QTest::mouseMove(&window, QPoint(250, 150));  // off the plot
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    // The plot shows the session's image pixel for pixel, one image pixel to one device pixel whatever the
    // scale: its lines are one device pixel wide, as the page draws them. Each plot is reached by Tab after its
    // window's controls, and its cursor keys read out what the mouse reads at the cursor's mark; a screen reader
    // gets the readout as the plot's value and the plot in words.
    void plotsShowTheSessionsPixelsAndReadByKeyboard()
    {
        const int ratio = qMax(1, qEnvironmentVariableIntValue("QT_SCALE_FACTOR"));
        QVERIFY(s_->RunDefaults());
        s_->Waveform().Command1_Click();
        for (const auto& [name, plot] :
             {std::pair{"Form2", &s_->Waveform().Picture1()}, std::pair{"Form3", &s_->Spectrum().Picture1()}}) {
            const ResultWindow* drawn = s_->session.Window(name);
            QVERIFY(drawn && plot->isVisible());
            QCOMPARE(plot->devicePixelRatioF(), qreal(ratio));
            QImage shown = plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QCOMPARE(shown.size(), QSize(drawn->Pixels().width, drawn->Pixels().height));
            QCOMPARE(shown.width(), plot->width() * ratio);
            const QImage session(drawn->Rgba().data(), shown.width(), shown.height(), QImage::Format_RGBA8888);
            shown.setDevicePixelRatio(1.0);  // compared pixel for pixel
            QCOMPARE(shown, session.convertToFormat(QImage::Format_RGB32));
            const bool waveform = name == QLatin1String("Form2");
            QVERIFY(Count(shown, waveform ? Black : Red) > shown.height());

            QVERIFY(QTest::qWaitForWindowExposed(plot->window()));
            plot->window()->activateWindow();
            QTRY_VERIFY(QApplication::activeWindow() == plot->window());
            while (QApplication::focusWidget() != plot) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClick(plot, Qt::Key_End);
            QTest::keyClick(plot, Qt::Key_Left);
            QTest::keyClick(plot, Qt::Key_Up, Qt::ShiftModifier);
            const QString read = plot->toolTip();
            QVERIFY(plot->Mark().has_value());
            QCOMPARE(QAccessible::queryAccessibleInterface(plot)->text(QAccessible::Value), read);
            QVERIFY(plot->accessibleDescription().startsWith(waveform ? "Forma d'onda" : "Spettro"));
            const QPointF at = *plot->Mark();
            QMouseEvent move(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(plot, &move);
            QCOMPARE(plot->toolTip(), read);
        }
        // End, then Left: from the upper side line to the carrier's.
        QCOMPARE(s_->Spectrum().Picture1().toolTip(), Local("f= 30000.00 Hz ; S(f) = 2.50E+01 V"));
    }

    void controls_data()
    {
        QTest::addColumn<std::size_t>("row");
        for (std::size_t i = 0; i < std::size(kControls); ++i)
            QTest::addRow("%s %s", std::get<0>(kControls[i]), std::get<1>(kControls[i])) << i;
    }
    void controls()
    {
        QFETCH(std::size_t, row);
        const auto& [form, name, twips, text, colour, weight] = kControls[row];
        QWidget* top = form == QLatin1String("Form1")   ? static_cast<QWidget*>(&s_->Panel())
                       : form == QLatin1String("Form2") ? static_cast<QWidget*>(&s_->Waveform())
                                                        : &s_->Spectrum();
        QVERIFY(top->isWindow() && !top->isVisible() && top->testAttribute(Qt::WA_DeleteOnClose));
        QWidget* w = *name ? top->findChild<QWidget*>(name) : top;
        QVERIFY(w && w->objectName() == (w == top ? form : name) && (w == top || w->isVisibleTo(top)));
        if (w == top)
            QCOMPARE(w->size(), Pixels(twips).size());
        else if (twips.width != 0)
            QCOMPARE(w->geometry(), Pixels(twips));
        if (auto* combo = qobject_cast<QComboBox*>(w))
            QCOMPARE(combo->currentText(), QString::fromUtf8(text));
        else if (text)
            QCOMPARE(w == top ? w->windowTitle() : w->property("text").toString(), QString::fromUtf8(text));
        if (colour.isValid()) QCOMPARE(Probe(w), colour);
        if (weight) QCOMPARE(w->font().weight(), *weight);
        // No readout before the first run, no option picked.
        QVERIFY(w->toolTip().isEmpty() && !w->property("checked").toBool());
    }

    // Each entry of the table is a box of that name, place and initial text with its captions beside it,
    // inside the panel with nothing over it (a caption grown to fit its font included), and the box's
    // text reaches the intake as that entry.
    void entriesAsTheTableSays()
    {
        Form1& panel = s_->Panel();
        const QList<QWidget*> children = panel.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        int captions = 0;
        for (const Entry& entry : kEntries) {
            auto* box = panel.findChild<QLineEdit*>(entry.box);
            QVERIFY2(box && box->isVisibleTo(&panel), entry.box);
            QCOMPARE(box->text(), QString::fromUtf8(entry.initialText));
            QCOMPARE(box->geometry(), Pixels(entry.place));
            QVERIFY(panel.rect().contains(box->geometry()));
            for (const QWidget* w : children)
                QVERIFY2(w == box || !w->geometry().intersects(box->geometry()), entry.box);
            QCOMPARE(Probe(box), Pink);
            QCOMPARE(box->font().weight(), QFont::Bold);
            for (const Caption* caption : {&entry.what, &entry.symbol, &entry.unit}) {
                if (caption->name == nullptr) continue;
                ++captions;
                auto* label = panel.findChild<QLabel*>(caption->name);
                QVERIFY2(label && label->isVisibleTo(&panel), caption->name);
                QCOMPARE(label->text(), QString::fromUtf8(caption->text));
                // A one-line caption may grow to the right to fit its font, never shrink or move.
                const QRect place = Pixels(caption->place);
                const QRect grown(place.topLeft(), QSize(label->width(), place.height()));
                QVERIFY2(label->geometry() == grown && label->width() >= place.width(), caption->name);
            }
            box->setText(QStringLiteral("<%1>").arg(entry.box));
        }
        // Beside the captions of the entries: the type box's, the two formulas and the contact.
        QCOMPARE(panel.findChildren<QLabel*>(Qt::FindDirectChildrenOnly).size(), captions + 4);
        const EntryTexts read = s_->session.Texts();
        for (const Entry& entry : kEntries)
            QCOMPARE(QString::fromStdString(read.*entry.text), QStringLiteral("<%1>").arg(entry.box));
    }

    // Every caption fits its box in the font the program picks, and in each sans-serif face a Windows
    // installation has when this system has it too (on Windows' own platform, the faces Windows, or Wine, renders).
    void captionsFitTheirBoxes_data()
    {
        QTest::addColumn<QString>("family");
        for (const char* family : {"", "MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Segoe UI", "Arial"}) {
            QTest::newRow(*family ? family : "the program's choice") << QString::fromLatin1(family);
        }
    }
    void captionsFitTheirBoxes()
    {
        QFETCH(QString, family);
        if (!family.isEmpty() && !QFontDatabase::families().contains(family)) QSKIP("this system lacks the face");
        Form1& panel = s_->Panel();
        for (QWidget* widget : family.isEmpty() ? QList<QWidget*>() : panel.findChildren<QWidget*>()) {
            QFont font = widget->font();
            font.setFamilies({family});
            widget->setFont(font);
        }
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const QList<QLabel*> labels = panel.findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
        QVERIFY(labels.size() > 10);
        qInfo() << "face:" << QFontInfo(labels.first()->font()).family();
        for (const QLabel* label : labels) {
            // Word wrap puts a word wider than the box on a line of its own, wider than the box.
            const QFontMetrics fm(label->font());
            const QRect needed = fm.boundingRect(QRect(0, 0, label->width(), 10000), Qt::TextWordWrap, label->text());
            QString why;
            QDebug(&why) << label->objectName() << label->text() << "needs" << needed.size() << "in" << label->size();
            QVERIFY2(needed.size().boundedTo(label->size()) == needed.size(), qPrintable(why));
        }
        const auto* grafici = panel.findChild<QPushButton*>("Command2");
        QVERIFY(QFontMetrics(grafici->font()).horizontalAdvance(grafici->text()) < grafici->width() - 8);
    }

    // "Grafici" has the focus, is no default button, comes round again after the entries in keyboard order, and
    // Enter presses it. The real message box, as the user gets it, is found while it is up and closed with its
    // button: the first press stops at the type check and opens nothing.
    void panelKeyboardAndTheMessageBox()
    {
        Session session;
        QtMessageSink box;
        AppWindows windows(session, box);
        Form1& panel = windows.InputPanel();
        auto* button = panel.findChild<QPushButton*>("Command2");
        QVERIFY(!button->isDefault() && !button->autoDefault());
        panel.show();
        QApplication::setActiveWindow(&panel);
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        QCOMPARE(QApplication::focusWidget(), button);
        QStringList visited;
        for (int i = 0; i < 11; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focused = QApplication::focusWidget();
            // The type box takes the focus through its edit field.
            if (qobject_cast<QComboBox*>(focused->parentWidget())) focused = focused->parentWidget();
            visited << focused->objectName();
        }
        QCOMPARE(visited, QStringList({"Text13", "Text1", "Text2", "Text3", "Text4", "Text7", "Combo1", "Text8",
                                       "Text6", "Text5", "Command2"}));

        QString seen;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* shown = qobject_cast<QMessageBox*>(modal)) {
                const bool arrow = QApplication::overrideCursor()->shape() == Qt::ArrowCursor;
                seen = QStringLiteral("%1|%2|%3 button(s)|%4|%5")
                           .arg(shown->windowTitle(), shown->text())
                           .arg(shown->buttons().size())
                           .arg(shown->standardButtons() == QMessageBox::Ok ? "OK" : "other")
                           .arg(shown->icon() == QMessageBox::NoIcon && arrow ? "plain" : "icon or busy");
            }
            if (modal) modal->close();
        });
        QTest::keyClick(button, Qt::Key_Return);
        QCOMPARE(seen, QStringLiteral("Trelvano|%1|1 button(s)|OK|plain").arg(messages::M6));
        QVERIFY(!windows.ExistingWaveformWindow() && !windows.ExistingSpectrumWindow());

        // The type box offers the three types and keeps what is typed, neither completed nor added to the list.
        auto* combo = panel.findChild<QComboBox*>("Combo1");
        QCOMPARE(combo->count(), int(kModulationTypes.size()));
        for (int i = 0; i < combo->count(); ++i) QCOMPARE(combo->itemText(i), kModulationTypes[std::size_t(i)]);
        combo->lineEdit()->clear();
        QTest::keyClicks(combo->lineEdit(), "fm");
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        QCOMPARE(session.Texts().Combo1, std::string("fm"));
        QCOMPARE(combo->count(), 3);
    }

    // A press's messages are the session's, in its order (which the session's tests check; the windows render
    // its events as they come); however the press ends, the busy cursor ends with it. A sound press draws both
    // plots, the spectrum's window still hidden. Closing a window deletes it and the session forgets its plot
    // (what a window shown again holds is the session's rule). The result windows outlive the panel, and read
    // out under a real pointer in the user's regional settings.
    void messagesClosedWindowsAndWindowsOutlivingThePanel()
    {
        auto* n = s_->Panel().findChild<QLineEdit*>("Text13");
        auto* w = s_->Panel().findChild<QLineEdit*>("Text1");
        n->setText("2147483647");
        QVERIFY(!s_->RunDefaults());
        n->setText("1000");
        w->setText("2.5");
        s_->Panel().Command2_Click();
        const std::vector<std::string> heads = {FaultText(FaultKind::Overflow), messages::M1};
        QCOMPARE(s_->messages.texts.size(), heads.size());
        for (std::size_t i = 0; i < heads.size(); ++i)
            QVERIFY2(s_->messages.texts[i].starts_with(heads[i]), s_->messages.texts[i].c_str());
        // The fault's message names the entry behind it.
        QVERIFY(
            s_->messages.texts[0].ends_with("\nCasella \"Numero campioni\": inserisci un numero fino a 2147483646."));
        QVERIFY(!QApplication::overrideCursor());
        w->setText("2");
        s_->Panel().Command2_Click();
        QVERIFY(s_->Waveform().isVisible() && !s_->Spectrum().isVisible());
        QVERIFY(Count(s_->Waveform().Picture1().Image(), Black) > 0);

        QTest::mouseClick(s_->Waveform().findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QPointer<Form3> first = s_->windows.ExistingSpectrumWindow();
        QVERIFY(first && first->isVisible() && Count(first->Picture1().Image(), Red) > 0);
        Close(first);
        QVERIFY(first.isNull() && !s_->session.Window("Form3"));
        s_->Waveform().Command1_Click();
        Form3* spectrum = s_->windows.ExistingSpectrumWindow();
        QVERIFY(spectrum && spectrum->isVisible());

        // A real move mid-width, a quarter down, button and modifier held.
        Form2& waveform = s_->Waveform();
        PlotSurface& plot = waveform.Picture1();
        const QPointF at(plot.width() / 2.0, plot.height() / 4.0);
        QMouseEvent move(QEvent::MouseMove, at, plot.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                         Qt::ShiftModifier);
        QApplication::sendEvent(&plot, &move);
        QCOMPARE(plot.toolTip(), Local("t= 1.00 msec ; V(t) = 2.08E+01 V"));

        Close(s_->windows.ExistingInputPanel());
        QVERIFY(!s_->windows.ExistingInputPanel());
        // Half-way across, at the top of the trace and of the carrier's line.
        waveform.Picture1_MouseMove(1001 * 0.5, 609 * 0.05);
        spectrum->Picture1_MouseMove(1009 * 0.5, 617 * 0.1);
        QCOMPARE(waveform.Picture1().toolTip(), Local("t= 1.00 msec ; V(t) = 3.75E+01 V"));
        QCOMPARE(spectrum->Picture1().toolTip(), Local("f= 30000.00 Hz ; S(f) = 2.50E+01 V"));
        QCOMPARE(s_->messages.texts.size(), heads.size());
    }
};

QTEST_MAIN(UiTest)
#include "UiTest.moc"
