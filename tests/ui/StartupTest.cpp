// The windows as they come up: the panel as the entry table lays it out, colours, fonts, focus and
// keyboard order.

#include <QLabel>
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

    // Each entry of the table is a box of that name, place and initial text with
    // its captions beside it, and the box's text reaches the intake as that entry.
    void entriesAsTheTableSays()
    {
        Form1& panel = s_->Panel();
        const auto pixels = [](const Twips& t) { return QRect(t.left / 15, t.top / 15, t.width / 15, t.height / 15); };
        int captions = 0;
        for (const Entry& entry : kEntries) {
            auto* box = panel.findChild<QLineEdit*>(entry.box);
            QVERIFY2(box && box->isVisibleTo(&panel), entry.box);
            QCOMPARE(box->text(), QString::fromUtf8(entry.initialText));
            QCOMPARE(box->geometry(), pixels(entry.place));
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
        const EntryTexts read = s_->windows.InputPanel().Entries();
        for (const Entry& entry : kEntries) QCOMPARE(QString::fromStdString(read.*entry.text), QStringLiteral("<%1>").arg(entry.box));
    }

    // Every box lies inside the panel and nothing covers it (a caption grown to fit its font included).
    void boxesFitAndNothingCoversThem()
    {
        Form1& panel = s_->Panel();
        for (const Entry& entry : kEntries) {
            const QWidget* box = panel.findChild<QLineEdit*>(entry.box);
            QVERIFY2(QRect(QPoint(0, 0), panel.size()).contains(box->geometry()), entry.box);
            for (const QWidget* w : panel.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                QVERIFY2(w == box || !w->geometry().intersects(box->geometry()),
                         qPrintable(w->objectName() + " covers " + entry.box));
            }
        }
    }

    void typeBoxOffersThreeTypesAndKeepsWhatIsTyped()
    {
        auto* combo = s_->Panel().findChild<QComboBox*>("Combo1");
        QVERIFY(combo->isEditable());
        QCOMPARE(combo->count(), int(kModulationTypes.size()));
        for (int i = 0; i < combo->count(); ++i) QCOMPARE(combo->itemText(i), kModulationTypes[std::size_t(i)]);
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
