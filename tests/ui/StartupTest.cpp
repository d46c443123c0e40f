// The windows as they come up: captions, layout, texts, fonts, colours, icons, focus and keyboard order.

#include "UiTestSupport.h"

using namespace trelvano;
using namespace trelvano::uitest;

namespace {

// Geometry in twips, a null one not checked; a window's is its client size, its text the caption.
struct Control {
    QString form, name;
    QRect twips{};
    QString text{}, font{};
    QColor shows{};
};

const QColor Pink(255, 192, 192);

}  // namespace

Q_DECLARE_METATYPE(Control)

class StartupTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Session> s_;

    QWidget* find(const QString& form, const QString& name)
    {
        QWidget* top = form == "Form1" ? static_cast<QWidget*>(&s_->panel())
                       : form == "Form2" ? static_cast<QWidget*>(&s_->waveform())
                                         : &s_->spectrum();
        return name == form ? top : top->findChild<QWidget*>(name);
    }

private slots:
    void init() { s_ = std::make_unique<Session>(); }
    void cleanup() { s_.reset(); }

    void controls_data()
    {
        QTest::addColumn<Control>("c");
        QTest::newRow("input panel") << Control{"Form1", "Form1", {0, 0, 13830, 5205}, "Trelvano", "8.25 bold"};
        QTest::newRow("waveform window") << Control{"Form2", "Form2", {0, 0, 18495, 10005}, "Forme d'onda reali"};
        QTest::newRow("spectrum window") << Control{"Form3", "Form3", {0, 0, 17460, 9705}, "Spettro"};
        QTest::newRow("mf, tall box") << Control{"Form1", "Text6", {1680, 120, 1935, 405}, "4.05", "8.25 bold", Pink};
        QTest::newRow("W") << Control{"Form1", "Text1", {1680, 1080, 1935, 375}, "2", {}, Pink};
        QTest::newRow("N") << Control{"Form1", "Text13", {10080, 240, 1935, 375}, "1000", {}, Pink};
        QTest::newRow("mAM") << Control{"Form1", "Text4", {}, "0.5", {}, Pink};
        QTest::newRow("Kt") << Control{"Form1", "Text2", {}, "1", {}, Pink};
        QTest::newRow("Kf") << Control{"Form1", "Text5", {}, "0.5", {}, Pink};
        QTest::newRow("fp") << Control{"Form1", "Text3", {}, "30", {}, Pink};
        QTest::newRow("Vp") << Control{"Form1", "Text8", {}, "25", {}, Pink};
        QTest::newRow("fm") << Control{"Form1", "Text7", {}, "3", {}, Pink};
        QTest::newRow("label with two blanks") << Control{"Form1", "Label12", {}, "mf;  mPM"};
        QTest::newRow("two-line label") << Control{"Form1", "Label3", {120, 2640, 1455, 615}};
        QTest::newRow("type box")
            << Control{"Form1", "Combo1", {5040, 2760, 3135, 420}, "Scegli la modulazione", "12 bold", Pink};
        QTest::newRow("Grafici") << Control{"Form1", "Command2", {5040, 3480, 1935, 495}, "Grafici", {}, Pink};
        QTest::newRow("contact, regular")
            << Control{"Form1", "Label67", {12120, 4800, 1575, 285}, {}, "8.25", QColor(192, 255, 255)};
        QTest::newRow("waveform plot") << Control{"Form2", "Picture1", {120, 120, 15015, 9135}};
        QTest::newRow("hint") << Control{"Form2", "Label1", {120, 9480, 8655, 375},
                                         "Sposta il cursore del mouse sulla forma d'onda , comparirà il valore "
                                         "in quel punto", "9.75 bold"};
        QTest::newRow("Visualizza spettro")
            << Control{"Form2", "Command1", {15360, 480, 1935, 855}, "Visualizza spettro", "12 bold", Red};
        QTest::newRow("first option") << Control{"Form2", "Option1", {}, "V(t)", "8.25 bold"};
        QTest::newRow("second option") << Control{"Form2", "Option2", {15240, 6840, 855, 375}, "Vr(t)"};
        QTest::newRow("hidden blank box") << Control{"Form2", "Picture2", {16800, 6480, 495, 375}};
        QTest::newRow("spectrum plot at the corner") << Control{"Form3", "Picture1", {0, 0, 15135, 9255}};
        QTest::newRow("spectrum caption")
            << Control{"Form3", "Label4", {120, 9360, 7335, 255}, "Righe dello spettro in rosso", "8.25 bold"};
    }
    void controls()
    {
        QFETCH(Control, c);
        QWidget* top = find(c.form, c.form);
        QVERIFY(top->isWindow() && !top->isVisible() && top->testAttribute(Qt::WA_DeleteOnClose));
        QWidget* w = find(c.form, c.name);
        QVERIFY(w && w->objectName() == c.name);
        QCOMPARE(w == top || w->isVisibleTo(top), c.name != "Picture2");
        const QRect pixels(c.twips.left() / 15, c.twips.top() / 15, c.twips.width() / 15, c.twips.height() / 15);
        if (w == top) QCOMPARE(w->size(), pixels.size());
        else if (!c.twips.isNull()) QCOMPARE(w->geometry(), pixels);
        if (auto* combo = qobject_cast<QComboBox*>(w)) QCOMPARE(combo->currentText(), c.text);
        else if (!c.text.isNull()) QCOMPARE(w == top ? w->windowTitle() : w->property("text").toString(), c.text);
        const QFont font = w->font();
        if (!c.font.isNull()) QCOMPARE(QString::number(font.pointSizeF()) + (font.bold() ? " bold" : ""), c.font);
        QVERIFY(font.families().contains("MS Sans Serif"));
        if (c.shows.isValid()) QVERIFY(Count(w->grab().toImage(), c.shows) > 0);
        // No readout before the first run, no option picked.
        QVERIFY(w->toolTip().isEmpty() && !w->property("checked").toBool());
    }

    void typeBoxOffersThreeTypesAndKeepsWhatIsTyped()
    {
        auto* combo = s_->panel().findChild<QComboBox*>("Combo1");
        QVERIFY(combo->isEditable());
        QCOMPARE(QStringList({combo->itemText(0), combo->itemText(1), combo->itemText(2)}),
                 QStringList({"AM", "FM", "PM"}));
        QCOMPARE(s_->windows.ModulationText(), std::string("Scegli la modulazione"));
        // Neither completed nor added to the list.
        combo->lineEdit()->clear();
        QTest::keyClicks(combo->lineEdit(), "fm");
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        QCOMPARE(s_->windows.ModulationText(), std::string("fm"));
        QCOMPARE(combo->count(), 3);
    }

    void iconsComeInTwoSizes()
    {
        const QImage panel = s_->panel().windowIcon().pixmap(32).toImage();
        QVERIFY(s_->spectrum().windowIcon().availableSizes().contains(QSize(16, 16)));
        QCOMPARE(s_->waveform().windowIcon().pixmap(32).toImage(), panel);
        QVERIFY(s_->spectrum().windowIcon().pixmap(32).toImage() != panel);
    }

    void focusFirstPressAndTabOrder()
    {
        Form1& panel = s_->panel();
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

        // Enter presses "Grafici" only while it has the focus.
        QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
        auto* entry = panel.findChild<QLineEdit*>("Text1");
        entry->setFocus();
        QTest::keyClick(entry, Qt::Key_Return);
        QCOMPARE(s_->messages.texts, Texts(2, messages::M6));
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
