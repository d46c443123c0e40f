// The windows as they come up: captions, layout, texts, focus and keyboard order.

#include <QLabel>
#include <QMap>
#include <optional>

#include "UiTestSupport.h"

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

}  // namespace

Q_DECLARE_METATYPE(Control)

class StartupTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Session> s_;

private slots:
    void init() { s_ = std::make_unique<Session>(); }
    void cleanup() { s_.reset(); }

    void controls_data()
    {
        QTest::addColumn<Control>("c");
        constexpr auto Bold = QFont::Bold, Normal = QFont::Normal;
        QTest::newRow("input panel") << Control{"Form1", "Form1", {0, 0, 13830, 5205}, "Trelvano", {}, Bold};
        QTest::newRow("waveform window")
            << Control{"Form2", "Form2", {0, 0, 18495, 10005}, "Forme d'onda reali", {}, Normal};
        QTest::newRow("spectrum window") << Control{"Form3", "Form3", {0, 0, 17460, 9705}, "Spettro", {}, Normal};
        QTest::newRow("mf, tall box") << Control{"Form1", "Text6", {1680, 120, 1935, 405}, "4.05", Pink, Bold};
        QTest::newRow("W") << Control{"Form1", "Text1", {1680, 1080, 1935, 375}, "2", Pink};
        QTest::newRow("N") << Control{"Form1", "Text13", {10080, 240, 1935, 375}, "1000", Pink};
        QTest::newRow("mAM") << Control{"Form1", "Text4", {}, "0.5", Pink};
        QTest::newRow("Kt") << Control{"Form1", "Text2", {}, "1", Pink};
        QTest::newRow("Kf") << Control{"Form1", "Text5", {}, "0.5", Pink};
        QTest::newRow("fp") << Control{"Form1", "Text3", {}, "30", Pink};
        QTest::newRow("Vp") << Control{"Form1", "Text8", {}, "25", Pink};
        QTest::newRow("fm") << Control{"Form1", "Text7", {}, "3", Pink};
        QTest::newRow("contact") << Control{"Form1", "Label67", {12120, 4800, 1575, 285}, "tv@example.org", Cyan, Normal};
        QTest::newRow("type box")
            << Control{"Form1", "Combo1", {5040, 2760, 3135, 420}, "Scegli la modulazione", {}, Bold};
        QTest::newRow("Grafici") << Control{"Form1", "Command2", {5040, 3480, 1935, 495}, "Grafici", Pink, Bold};
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

    // Every caption of the input panel, in the order of the labels' numbers.
    void panelLabels()
    {
        QMap<int, QString> labels;
        for (const QLabel* label : s_->Panel().findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            labels.insert(label->objectName().mid(5).toInt(), label->objectName() + ": " + label->text());
        }
        QCOMPARE(labels.values(),
                 QStringList({"Label1: W", "Label2: [kHz]", "Label3: Fattore di espansione asse tempi",
                              "Label4: Ampiezza finestra di calcolo", "Label5: f portante: fp", "Label6: mAM",
                              "Label7: Fattore di espansione asse frequenze per FM e PM",
                              "Label8: Casella per la scelta del tipo di modulazione", "Label10: [msec]",
                              "Label11: [kHz]", "Label12: mf;  mPM", "Label13: Indice di modulazione MF o PM",
                              "Label14: f modulante: fm", "Label15: Ampiezza di picco portante",
                              "Label16: Indice di modulazione AM", "Label17: [V]", "Label18: mf=kFM*Am/fm",
                              "Label19: mPM=kPM*Am", "Label48: N", "Label56: Numero campioni",
                              "Label67: tv@example.org"}));
    }

    void typeBoxOffersThreeTypesAndKeepsWhatIsTyped()
    {
        auto* combo = s_->Panel().findChild<QComboBox*>("Combo1");
        QVERIFY(combo->isEditable());
        QCOMPARE(QStringList({combo->itemText(0), combo->itemText(1), combo->itemText(2)}),
                 QStringList({"AM", "FM", "PM"}));
        // Neither completed nor added to the list.
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
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
