// The three windows: as they come up (the panel as the entry table lays it out, colours, fonts, focus and
// keyboard order), a press of "Grafici" and what it shows, and the result windows after a run: the cursor
// readout, windows closed and built afresh, and when the program ends.

#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <optional>

#include "UiTestSupport.h"
#include "engine/core/RuntimeFault.h"
#include "ui/HandlerGuard.h"
#include "ui/QtMessageSink.h"

using namespace trelvano;
using namespace trelvano::uitest;

namespace {

// Geometry in twips, a null one not checked; a window's is its client size, its text the caption.
// The colour is that of the pixel 4 px in from the right edge, half-way down; the font either
// weight or none to leave it unchecked.
struct Control {
    QString form, name;
    QRect twips{};
    QString text{};
    QColor colour{};
    std::optional<QFont::Weight> weight{};
};

const QColor Pink(255, 192, 192), Cyan(192, 255, 255), PaleYellow(255, 255, 192);

// One entry changed from the initial ones; the one message the press shows begins with `head`, ends with
// `hint`. A fault comes after the run has shown the waveform window, a stop before.
struct Press {
    const char* box;
    QString text;
    std::string head, hint;
    bool opens = true;
};

void Close(QWidget* window)
{
    QVERIFY(window->close());
    ProcessDeferredDeletes();
}

}  // namespace

Q_DECLARE_METATYPE(Control)
Q_DECLARE_METATYPE(Press)

class WindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Session> s_;

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());  // the decimal point, whatever the machine's regional settings
        s_ = std::make_unique<Session>();
    }
    void cleanup()
    {
        s_.reset();
        ProcessDeferredDeletes();
    }

    void controls_data()
    {
        QTest::addColumn<Control>("c");
        constexpr auto Bold = QFont::Bold, Normal = QFont::Normal;
        QTest::newRow("input panel") << Control{"Form1", "Form1", {0, 0, 13830, 5205}, "Trelvano", {}, Bold};
        QTest::newRow("waveform window")
            << Control{"Form2", "Form2", {0, 0, 18495, 10005}, "Forme d'onda reali", {}, Normal};
        QTest::newRow("spectrum window") << Control{"Form3", "Form3", {0, 0, 17460, 9705}, "Spettro", {}, Normal};
        // Painted as asked: the palette reaches the screen and the contact keeps its own font.
        QTest::newRow("contact") << Control{"Form1", "Label67", {}, {}, Cyan, Normal};
        QTest::newRow("type box") << Control{"Form1", "Combo1", {}, kTypeBoxInitialText, {}, Bold};
        QTest::newRow("Grafici") << Control{"Form1", "Command2", {}, "Grafici", Pink, Bold};
        QTest::newRow("waveform plot") << Control{"Form2", "Picture1", {120, 120, 15015, 9135}, {}, PaleYellow};
        QTest::newRow("hint") << Control{"Form2", "Label1", {120, 9480, 8655, 375},
                                         "Sposta il cursore del mouse sulla forma d'onda , comparirà il valore "
                                         "in quel punto", {}, Bold};
        QTest::newRow("Visualizza spettro")
            << Control{"Form2", "Command1", {15360, 480, 1935, 855}, "Visualizza spettro", Red, Bold};
        QTest::newRow("first option") << Control{"Form2", "Option1", {}, "V(t)", {}, Bold};
        QTest::newRow("second option") << Control{"Form2", "Option2", {15240, 6840, 855, 375}, "Vr(t)"};
        QTest::newRow("spectrum plot at the corner") << Control{"Form3", "Picture1", {0, 0, 15135, 9255}, {}, Black};
        QTest::newRow("spectrum caption") << Control{"Form3", "Label4", {}, "Righe dello spettro in rosso", {}, Bold};
    }
    void controls()
    {
        QFETCH(Control, c);
        QWidget* top = c.form == "Form1"   ? static_cast<QWidget*>(&s_->Panel())
                       : c.form == "Form2" ? static_cast<QWidget*>(&s_->Waveform())
                                           : &s_->Spectrum();
        QVERIFY(top->isWindow() && !top->isVisible() && top->testAttribute(Qt::WA_DeleteOnClose));
        QWidget* w = c.name == c.form ? top : top->findChild<QWidget*>(c.name);
        QVERIFY(w && w->objectName() == c.name && (w == top || w->isVisibleTo(top)));
        const QRect pixels(c.twips.left() / 15, c.twips.top() / 15, c.twips.width() / 15, c.twips.height() / 15);
        if (w == top) QCOMPARE(w->size(), pixels.size());
        else if (!c.twips.isNull()) QCOMPARE(w->geometry(), pixels);
        if (auto* combo = qobject_cast<QComboBox*>(w)) QCOMPARE(combo->currentText(), c.text);
        else if (!c.text.isNull()) QCOMPARE(w == top ? w->windowTitle() : w->property("text").toString(), c.text);
        if (c.colour.isValid()) QCOMPARE(w->grab().toImage().pixelColor(w->width() - 4, w->height() / 2), c.colour);
        if (c.weight) QCOMPARE(w->font().weight(), *c.weight);
        // No readout before the first run, no option picked.
        QVERIFY(w->toolTip().isEmpty() && !w->property("checked").toBool());
    }

    // Each entry of the table is a box of that name, place and initial text with its captions beside it,
    // inside the panel with nothing over it (a caption grown to fit its font included), and the box's
    // text reaches the intake as that entry.
    void entriesAsTheTableSays()
    {
        Form1& panel = s_->Panel();
        const auto pixels = [](const Twips& t) { return QRect(t.left / 15, t.top / 15, t.width / 15, t.height / 15); };
        const QList<QWidget*> children = panel.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        int captions = 0;
        for (const Entry& entry : kEntries) {
            auto* box = panel.findChild<QLineEdit*>(entry.box);
            QVERIFY2(box && box->isVisibleTo(&panel), entry.box);
            QCOMPARE(box->text(), QString::fromUtf8(entry.initialText));
            QCOMPARE(box->geometry(), pixels(entry.place));
            QVERIFY(panel.rect().contains(box->geometry()));
            for (const QWidget* w : children) QVERIFY2(w == box || !w->geometry().intersects(box->geometry()), entry.box);
            QCOMPARE(box->grab().toImage().pixelColor(box->width() - 4, box->height() / 2), Pink);
            QCOMPARE(box->font().weight(), QFont::Bold);
            for (const Caption* caption : {&entry.what, &entry.symbol, &entry.unit}) {
                if (caption->name == nullptr) continue;
                ++captions;
                auto* label = panel.findChild<QLabel*>(caption->name);
                QVERIFY2(label && label->isVisibleTo(&panel), caption->name);
                QCOMPARE(label->text(), QString::fromUtf8(caption->text));
                // A one-line caption may grow to the right to fit its font, never shrink or move.
                const QRect place = pixels(caption->place);
                QVERIFY2(label->pos() == place.topLeft() && label->height() == place.height() &&
                             label->width() >= place.width(),
                         caption->name);
            }
            box->setText(QStringLiteral("<%1>").arg(entry.box));
        }
        // Beside the captions of the entries: the type box's, the two formulas and the contact.
        QCOMPARE(panel.findChildren<QLabel*>(Qt::FindDirectChildrenOnly).size(), captions + 4);
        const EntryTexts read = panel.Entries();
        for (const Entry& entry : kEntries) QCOMPARE(QString::fromStdString(read.*entry.text), QStringLiteral("<%1>").arg(entry.box));
    }

    // Neither completed nor added to the list.
    void typeBoxOffersThreeTypesAndKeepsWhatIsTyped()
    {
        auto* combo = s_->Panel().findChild<QComboBox*>("Combo1");
        QVERIFY(combo->isEditable());
        QCOMPARE(combo->count(), int(kModulationTypes.size()));
        for (int i = 0; i < combo->count(); ++i) QCOMPARE(combo->itemText(i), kModulationTypes[std::size_t(i)]);
        combo->lineEdit()->clear();
        QTest::keyClicks(combo->lineEdit(), "fm");
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        QCOMPARE(s_->windows.ModulationText(), std::string("fm"));
        QCOMPARE(combo->count(), 3);
    }

    void focusFirstPressAndTabOrder()
    {
        Form1& panel = s_->Panel();
        auto* button = panel.findChild<QPushButton*>("Command2");
        QVERIFY(!button->isDefault() && !button->autoDefault());
        panel.show();
        QApplication::setActiveWindow(&panel);
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        QCOMPARE(QApplication::focusWidget(), button);
        // The first press stops at the type check and opens nothing.
        QTest::keyClick(button, Qt::Key_Return);
        QCOMPARE(s_->messages.texts, Texts{messages::M6});
        QVERIFY(!s_->windows.ExistingWaveformWindow() && !s_->windows.ExistingSpectrumWindow());

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
    }

    void pressThatStopsOrFaultsThenASoundOne_data()
    {
        QTest::addColumn<Press>("p");
        const std::string n = "\nCasella \"Numero campioni\": inserisci un numero ";
        QTest::newRow("carrier above the sampling limit") << Press{"Text3", "126", messages::M5, "", false};
        // A fault names the entry behind it; the largest N it names is refused for memory, not for overflow.
        QTest::newRow("N + 1 overflows")
            << Press{"Text13", "2147483647", FaultText(FaultKind::Overflow), n + "fino a 2147483646."};
        QTest::newRow("N at its limit") << Press{"Text13", "2147483646", FaultText(FaultKind::OutOfMemory),
                                                 n + "più piccolo."};
    }
    void pressThatStopsOrFaultsThenASoundOne()
    {
        QFETCH(Press, p);
        s_->SetType("AM");
        s_->SetEntry(p.box, p.text);
        s_->Press();
        QCOMPARE(s_->messages.texts.size(), std::size_t{1});
        const std::string& shown = s_->messages.texts.front();
        QVERIFY2(shown.starts_with(p.head) && shown.ends_with(p.hint), shown.c_str());
        const Form2* waveform = s_->windows.ExistingWaveformWindow();
        QCOMPARE(waveform && waveform->isVisible(), p.opens);
        QCOMPARE(s_->windows.ExistingSpectrumWindow() != nullptr, p.opens);
        QVERIFY(!QApplication::overrideCursor());  // the busy cursor ends with the press, however it ends

        s_->SetEntry(p.box, QString::fromUtf8(FindEntry(p.box)->initialText));
        s_->Press();
        QCOMPARE(s_->messages.texts.size(), std::size_t{1});
        // Drawn on both plots, the spectrum's window still hidden; where exactly is for the run's and the plot
        // surface's own tests.
        QVERIFY(s_->Waveform().isVisible() && !s_->Spectrum().isVisible());
        QVERIFY(Count(s_->Waveform().Picture1().Image(), Black) > 0);
        QVERIFY(Count(s_->Spectrum().Picture1().Image(), Red) > 0);
    }

    // The real box, as the user gets it: found while it is up, then closed with its button.
    void messageBoxHasTheTitleOneOkButtonAndNoIcon()
    {
        AnalysisState state;
        QtMessageSink box;
        AppWindows windows(state, box);
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
        windows.InputPanel().Command2_Click();
        QCOMPARE(seen, QStringLiteral("Trelvano|%1|1 button(s)|OK|plain").arg(messages::M6));
    }

    // An allocation the memory check let through still ends the event with the memory text.
    void allocationFailureEndsTheEventWithTheMemoryText()
    {
        RecordingSink sink;
        RunGuarded(sink, [] { throw std::bad_alloc(); });
        QCOMPARE(sink.texts, Texts{FaultText(FaultKind::OutOfMemory)});
    }

    void realMouseMoveWithButtonAndModifierReachesTheReadout()
    {
        QVERIFY(s_->RunDefaults());
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

    // A closed window is built afresh with a blank plot when next asked for; the result windows outlive the panel.
    void closedWindowsComeBackBlankAndOutliveThePanel()
    {
        QVERIFY(s_->RunDefaults());
        QPointer<Form3> first = s_->windows.ExistingSpectrumWindow();
        QVERIFY(first && !first->isVisible() && Count(first->Picture1().Image(), Red) > 0);
        QTest::mouseClick(s_->Waveform().findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QVERIFY(s_->windows.ExistingSpectrumWindow() == first && first->isVisible());
        Close(first);
        QVERIFY(first.isNull() && !s_->windows.ExistingSpectrumWindow());
        s_->Waveform().Command1_Click();
        Form3* spectrum = s_->windows.ExistingSpectrumWindow();
        QVERIFY(spectrum && spectrum->isVisible() && spectrum->Picture1().toolTip().isEmpty());
        const QImage& blank = spectrum->Picture1().Image();
        QCOMPARE(Count(blank, Black), blank.width() * blank.height());

        QPointer<Form2> waveform = &s_->Waveform();
        Readout(*waveform, 50, 95);
        Close(waveform);
        QVERIFY(waveform.isNull() && !s_->windows.ExistingWaveformWindow());
        s_->Press();
        waveform = s_->windows.ExistingWaveformWindow();
        QVERIFY(waveform && waveform->isVisible() && waveform->Picture1().toolTip().isEmpty());
        QVERIFY(Count(waveform->Picture1().Image(), Black) > 0 && Count(spectrum->Picture1().Image(), Red) > 0);

        Close(s_->windows.ExistingInputPanel());
        QVERIFY(!s_->windows.ExistingInputPanel());
        QCOMPARE(s_->windows.ModulationText(), std::string());
        QCOMPARE(Readout(*waveform, 50, 95), "t= 1.00 msec ; V(t) = 3.75E+01 V");
        QCOMPARE(Readout(*spectrum, 50, 90), "f= 30000.00 Hz ; S(f) = 2.50E+01 V");
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
        QVERIFY(s_->RunDefaults());
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

QTEST_MAIN(WindowsTest)
#include "WindowsTest.moc"
