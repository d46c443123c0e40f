// The windows as they come up: captions, sizes, controls, texts, fonts,
// colours, icons, focus and keyboard order.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "UiTestSupport.h"
#include "engine/Messages.h"

using namespace trelvano;
using namespace trelvano::uitest;

namespace {

QWidget* WindowNamed(Session& session, const QString& name)
{
    if (name == QLatin1String("Form1")) return &session.panel();
    if (name == QLatin1String("Form2")) return &session.windows.WaveformWindow();
    return &session.windows.SpectrumWindow();
}

QWidget* Control(Session& session, const QString& window, const QString& name)
{
    return WindowNamed(session, window)->findChild<QWidget*>(name);
}

// Twips at 96 dots per inch.
QRect Pixels(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

// True when some pixel of the widget's rendering has exactly this colour.
bool ShowsColour(QWidget& widget, QColor colour)
{
    const QImage image = widget.grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (SameColour(image.pixel(x, y), colour)) return true;
        }
    }
    return false;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void init() { session_ = std::make_unique<Session>(); }
    void cleanup() { session_.reset(); }

    void windowsHaveTheirCaptionsAndClientSizes_data();
    void windowsHaveTheirCaptionsAndClientSizes();
    void controlsStandWhereTheLayoutPutsThem_data();
    void controlsStandWhereTheLayoutPutsThem();
    void panelShowsItsInitialTexts_data();
    void panelShowsItsInitialTexts();
    void resultWindowsShowTheirCaptions();
    void typeBoxOffersThreeTypesUnderAPrompt();
    void typeBoxKeepsWhatIsTyped_data();
    void typeBoxKeepsWhatIsTyped();
    void fontsFollowTheLayout_data();
    void fontsFollowTheLayout();
    void coloursShow();
    void hiddenBoxesAndOptionsStartUnset();
    void optionButtonsFormOneGroup();
    void iconsComeInTwoSizes();
    void focusStartsOnGraficiAndFollowsTheTabOrder();
    void enterPressesGraficiOnlyWhenItHasTheFocus();

private:
    std::unique_ptr<Session> session_;
};

void StartupTest::windowsHaveTheirCaptionsAndClientSizes_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::newRow("input panel") << "Form1" << "Trelvano" << QSize(13830 / 15, 5205 / 15);
    QTest::newRow("waveform window") << "Form2" << "Forme d'onda reali" << QSize(18495 / 15, 10005 / 15);
    QTest::newRow("spectrum window") << "Form3" << "Spettro" << QSize(17460 / 15, 9705 / 15);
}

void StartupTest::windowsHaveTheirCaptionsAndClientSizes()
{
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QWidget* form = WindowNamed(*session_, window);
    QCOMPARE(form->objectName(), window);
    QCOMPARE(form->windowTitle(), caption);
    QCOMPARE(form->size(), size);
    QVERIFY(form->isWindow());
    QVERIFY(form->parentWidget() == nullptr);
    QVERIFY(form->testAttribute(Qt::WA_DeleteOnClose));
    // Created hidden: only Start() or a run shows a window.
    QVERIFY(!form->isVisible());
}

void StartupTest::controlsStandWhereTheLayoutPutsThem_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("index box, tall") << "Form1" << "Text6" << Pixels(1680, 120, 1935, 405);
    QTest::newRow("window width box") << "Form1" << "Text1" << Pixels(1680, 1080, 1935, 375);
    QTest::newRow("samples box") << "Form1" << "Text13" << Pixels(10080, 240, 1935, 375);
    QTest::newRow("two-line caption") << "Form1" << "Label3" << Pixels(120, 2640, 1455, 615);
    QTest::newRow("type box") << "Form1" << "Combo1" << Pixels(5040, 2760, 3135, 420);
    QTest::newRow("Grafici") << "Form1" << "Command2" << Pixels(5040, 3480, 1935, 495);
    QTest::newRow("contact") << "Form1" << "Label67" << Pixels(12120, 4800, 1575, 285);
    QTest::newRow("waveform plot") << "Form2" << "Picture1" << Pixels(120, 120, 15015, 9135);
    QTest::newRow("hint") << "Form2" << "Label1" << Pixels(120, 9480, 8655, 375);
    QTest::newRow("Visualizza spettro") << "Form2" << "Command1" << Pixels(15360, 480, 1935, 855);
    QTest::newRow("second option") << "Form2" << "Option2" << Pixels(15240, 6840, 855, 375);
    QTest::newRow("spectrum plot at the corner") << "Form3" << "Picture1" << Pixels(0, 0, 15135, 9255);
    QTest::newRow("spectrum caption") << "Form3" << "Label4" << Pixels(120, 9360, 7335, 255);
}

void StartupTest::controlsStandWhereTheLayoutPutsThem()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QRect, geometry);
    QWidget* widget = Control(*session_, window, control);
    QVERIFY2(widget, qPrintable(control));
    QCOMPARE(widget->geometry(), geometry);
}

void StartupTest::panelShowsItsInitialTexts_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::newRow("mf") << "Text6" << "4.05";
    QTest::newRow("mAM") << "Text4" << "0.5";
    QTest::newRow("W") << "Text1" << "2";
    QTest::newRow("Kt") << "Text2" << "1";
    QTest::newRow("Kf") << "Text5" << "0.5";
    QTest::newRow("N") << "Text13" << "1000";
    QTest::newRow("fp") << "Text3" << "30";
    QTest::newRow("Vp") << "Text8" << "25";
    QTest::newRow("fm") << "Text7" << "3";
    QTest::newRow("label with two blanks") << "Label12" << "mf;  mPM";
    QTest::newRow("long label") << "Label7" << "Fattore di espansione asse frequenze per FM e PM";
    QTest::newRow("type caption") << "Label8" << "Casella per la scelta del tipo di modulazione";
    QTest::newRow("FM formula") << "Label18" << "mf=kFM*Am/fm";
    QTest::newRow("carrier amplitude") << "Label15" << "Ampiezza di picco portante";
    QTest::newRow("button") << "Command2" << "Grafici";
}

void StartupTest::panelShowsItsInitialTexts()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    QWidget* widget = Control(*session_, QStringLiteral("Form1"), control);
    QVERIFY2(widget, qPrintable(control));
    if (auto* entry = qobject_cast<QLineEdit*>(widget)) {
        QCOMPARE(entry->text(), text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        QCOMPARE(label->text(), text);
    } else {
        QCOMPARE(qobject_cast<QPushButton*>(widget)->text(), text);
    }
}

void StartupTest::resultWindowsShowTheirCaptions()
{
    auto* hint = Control(*session_, "Form2", "Label1");
    QCOMPARE(qobject_cast<QLabel*>(hint)->text(),
             QString::fromUtf8("Sposta il cursore del mouse sulla forma d'onda , comparirà il valore in quel punto"));
    QCOMPARE(qobject_cast<QPushButton*>(Control(*session_, "Form2", "Command1"))->text(), "Visualizza spettro");
    QCOMPARE(qobject_cast<QRadioButton*>(Control(*session_, "Form2", "Option1"))->text(), "V(t)");
    QCOMPARE(qobject_cast<QRadioButton*>(Control(*session_, "Form2", "Option2"))->text(), "Vr(t)");
    QCOMPARE(qobject_cast<QLabel*>(Control(*session_, "Form3", "Label4"))->text(), "Righe dello spettro in rosso");
    // Both plots start without a readout.
    QVERIFY(Control(*session_, "Form2", "Picture1")->toolTip().isEmpty());
    QVERIFY(Control(*session_, "Form3", "Picture1")->toolTip().isEmpty());
}

void StartupTest::typeBoxOffersThreeTypesUnderAPrompt()
{
    auto* combo = session_->panel().findChild<QComboBox*>("Combo1");
    QVERIFY(combo->isEditable());
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(0), "AM");
    QCOMPARE(combo->itemText(1), "FM");
    QCOMPARE(combo->itemText(2), "PM");
    QCOMPARE(combo->currentText(), "Scegli la modulazione");
    QCOMPARE(combo->findText("Scegli la modulazione"), -1);
    QCOMPARE(session_->windows.ModulationText(), std::string("Scegli la modulazione"));
}

void StartupTest::typeBoxKeepsWhatIsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("a listed type") << "FM";
    QTest::newRow("lower case is not completed") << "fm";
    QTest::newRow("a prefix is not completed") << "P";
    QTest::newRow("free text") << "nessuna";
}

void StartupTest::typeBoxKeepsWhatIsTyped()
{
    QFETCH(QString, typed);
    auto* combo = session_->panel().findChild<QComboBox*>("Combo1");
    combo->lineEdit()->clear();
    QTest::keyClicks(combo->lineEdit(), typed);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    QCOMPARE(combo->currentText(), typed);
    QCOMPARE(combo->count(), 3);
    QCOMPARE(session_->windows.ModulationText(), typed.toStdString());
}

void StartupTest::fontsFollowTheLayout_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::newRow("entry inherits the panel font") << "Form1" << "Text13" << 8.25 << true;
    QTest::newRow("label inherits the panel font") << "Form1" << "Label56" << 8.25 << true;
    QTest::newRow("type box") << "Form1" << "Combo1" << 12.0 << true;
    QTest::newRow("contact, regular") << "Form1" << "Label67" << 8.25 << false;
    QTest::newRow("hint") << "Form2" << "Label1" << 9.75 << true;
    QTest::newRow("option") << "Form2" << "Option1" << 8.25 << true;
    QTest::newRow("Visualizza spettro") << "Form2" << "Command1" << 12.0 << true;
    QTest::newRow("spectrum caption") << "Form3" << "Label4" << 8.25 << true;
}

void StartupTest::fontsFollowTheLayout()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(double, points);
    QFETCH(bool, bold);
    const QFont font = Control(*session_, window, control)->font();
    QCOMPARE(font.pointSizeF(), points);
    QCOMPARE(font.bold(), bold);
    QVERIFY(font.families().contains("MS Sans Serif"));
    QCOMPARE(font.styleHint(), QFont::SansSerif);
}

void StartupTest::coloursShow()
{
    const QColor pink(255, 192, 192);
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text13"}) {
        auto* entry = session_->panel().findChild<QLineEdit*>(name);
        QCOMPARE(entry->palette().color(QPalette::Base), pink);
        QVERIFY2(ShowsColour(*entry, pink), name);
    }
    auto* combo = session_->panel().findChild<QComboBox*>("Combo1");
    QVERIFY(ShowsColour(*combo, pink));
    QVERIFY(ShowsColour(*Control(*session_, "Form1", "Command2"), pink));
    QVERIFY(ShowsColour(*Control(*session_, "Form1", "Label67"), QColor(192, 255, 255)));
    QVERIFY(ShowsColour(*Control(*session_, "Form2", "Command1"), QColor(255, 0, 0)));
    // The contact label is the only coloured label.
    QVERIFY(!ShowsColour(*Control(*session_, "Form1", "Label56"), QColor(192, 255, 255)));
}

void StartupTest::hiddenBoxesAndOptionsStartUnset()
{
    QWidget& waveform = session_->windows.WaveformWindow();
    QWidget& spectrum = session_->windows.SpectrumWindow();
    waveform.show();
    spectrum.show();
    QVERIFY(!waveform.findChild<QWidget*>("Picture2")->isVisible());
    QVERIFY(!spectrum.findChild<QWidget*>("Picture2")->isVisible());
    QVERIFY(waveform.findChild<QWidget*>("Picture1")->isVisible());
    QVERIFY(!waveform.findChild<QRadioButton*>("Option1")->isChecked());
    QVERIFY(!waveform.findChild<QRadioButton*>("Option2")->isChecked());
}

void StartupTest::optionButtonsFormOneGroup()
{
    QWidget& waveform = session_->windows.WaveformWindow();
    auto* option1 = waveform.findChild<QRadioButton*>("Option1");
    auto* option2 = waveform.findChild<QRadioButton*>("Option2");
    QTest::mouseClick(option1, Qt::LeftButton);
    QVERIFY(option1->isChecked());
    QTest::mouseClick(option2, Qt::LeftButton);
    QVERIFY(option2->isChecked());
    QVERIFY(!option1->isChecked());
    // Nothing else reacts.
    QVERIFY(session_->messages.texts.empty());
}

void StartupTest::iconsComeInTwoSizes()
{
    const QIcon panelIcon = session_->panel().windowIcon();
    const QIcon waveformIcon = session_->windows.WaveformWindow().windowIcon();
    const QIcon spectrumIcon = session_->windows.SpectrumWindow().windowIcon();
    for (const QIcon* icon : {&panelIcon, &spectrumIcon}) {
        const QList<QSize> sizes = icon->availableSizes();
        QVERIFY(sizes.contains(QSize(32, 32)));
        QVERIFY(sizes.contains(QSize(16, 16)));
        QVERIFY(!icon->pixmap(QSize(16, 16)).isNull());
    }
    const QImage panel32 = panelIcon.pixmap(QSize(32, 32)).toImage();
    QCOMPARE(waveformIcon.pixmap(QSize(32, 32)).toImage(), panel32);
    QVERIFY(spectrumIcon.pixmap(QSize(32, 32)).toImage() != panel32);
}

void StartupTest::focusStartsOnGraficiAndFollowsTheTabOrder()
{
    Form1& panel = session_->panel();
    panel.show();
    QApplication::setActiveWindow(&panel);
    QVERIFY(QTest::qWaitForWindowActive(&panel));
    QCOMPARE(QApplication::focusWidget(), Control(*session_, "Form1", "Command2"));

    const QStringList expected = {"Text13", "Text1", "Text2", "Text3", "Text4", "Text7",
                                  "Combo1", "Text8", "Text6", "Text5", "Command2"};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        // The type box takes the focus through its edit field.
        if (qobject_cast<QComboBox*>(focused->parentWidget())) focused = focused->parentWidget();
        visited << focused->objectName();
    }
    QCOMPARE(visited, expected);
    for (QLabel* label : panel.findChildren<QLabel*>()) QCOMPARE(label->focusPolicy(), Qt::NoFocus);
}

void StartupTest::enterPressesGraficiOnlyWhenItHasTheFocus()
{
    Form1& panel = session_->panel();
    auto* button = panel.findChild<QPushButton*>("Command2");
    QVERIFY(!button->isDefault());
    QVERIFY(!button->autoDefault());
    panel.show();
    QApplication::setActiveWindow(&panel);
    QVERIFY(QTest::qWaitForWindowActive(&panel));

    auto* entry = panel.findChild<QLineEdit*>("Text1");
    entry->setFocus();
    QTest::keyClick(entry, Qt::Key_Return);
    QTest::keyClick(entry, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(session_->messages.texts.empty());

    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(button, Qt::Key_Space);
    // Three presses, each stopped at the type check.
    QCOMPARE(session_->messages.texts,
             std::vector<std::string>(3, std::string(trelvano::messages::M6)));
}

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
