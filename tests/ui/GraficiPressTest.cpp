// One press of "Grafici": which messages appear, in which order, whether a run
// follows, and how a fault inside the press is reported.

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "UiTestSupport.h"
#include "engine/Messages.h"
#include "engine/RuntimeFault.h"
#include "ui/BusyCursor.h"
#include "ui/QtMessageSink.h"

using namespace trelvano;
using namespace trelvano::uitest;

namespace {

using Texts = std::vector<std::string>;

struct Entries {
    QString W = "2";
    QString N = "1000";
    QString fp = "30";
    QString fm = "3";
    QString type = "AM";
};

void Enter(Session& session, const Entries& entries)
{
    session.setEntry("Text1", entries.W);
    session.setEntry("Text13", entries.N);
    session.setEntry("Text3", entries.fp);
    session.setEntry("Text7", entries.fm);
    session.setType(entries.type);
}

}  // namespace

Q_DECLARE_METATYPE(Entries)
Q_DECLARE_METATYPE(Texts)
Q_DECLARE_METATYPE(trelvano::FaultKind)

class GraficiPressTest : public QObject {
    Q_OBJECT

private slots:
    void init() { session_ = std::make_unique<Session>(); }
    void cleanup() { session_.reset(); }

    void firstPressAsksForTheTypeAndOpensNothing();
    void messagesComeInOrder_data();
    void messagesComeInOrder();
    void acceptedPressShowsOnlyTheWaveformWindow();
    void busyCursorLastsForThePressOnly();
    void faultEndsThePressAndTheApplicationGoesOn_data();
    void faultEndsThePressAndTheApplicationGoesOn();
    void entriesAreNeverRewritten();
    void messageBoxIsPlainModalWithOneButton();

private:
    std::unique_ptr<Session> session_;
};

void GraficiPressTest::firstPressAsksForTheTypeAndOpensNothing()
{
    session_->panel().show();
    QTest::mouseClick(session_->panel().findChild<QPushButton*>("Command2"), Qt::LeftButton);
    QCOMPARE(session_->messages.texts, Texts{messages::M6});
    QVERIFY(session_->windows.ExistingWaveformWindow() == nullptr);
    QVERIFY(session_->windows.ExistingSpectrumWindow() == nullptr);
    QCOMPARE(session_->state.params.MessageText, std::string(messages::M6));
}

void GraficiPressTest::messagesComeInOrder_data()
{
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<Texts>("expected");
    QTest::addColumn<bool>("runs");

    QTest::newRow("defaults with AM") << Entries{} << Texts{} << true;
    QTest::newRow("three decimals, fm rounding to zero")
        << Entries{"2.5", "1000", "30.5", "0.5", "AM"} << Texts{messages::M1, messages::M2, messages::M3, messages::M4}
        << false;
    QTest::newRow("three decimals that round to usable values")
        << Entries{"2.5", "1000", "30.5", "3.5", "FM"} << Texts{messages::M1, messages::M2, messages::M3} << true;
    QTest::newRow("W rounding to zero") << Entries{"0.5", "1000", "30", "3", "AM"} << Texts{messages::M1, messages::M4}
                                        << false;
    QTest::newRow("empty carrier") << Entries{"2", "1000", "", "3", "AM"} << Texts{messages::M4} << false;
    QTest::newRow("carrier just above the sampling limit")
        << Entries{"2", "1000", "126", "3", "AM"} << Texts{messages::M5} << false;
    QTest::newRow("carrier at the sampling limit") << Entries{"2", "1000", "125", "3", "PM"} << Texts{} << true;
    QTest::newRow("lower-case type") << Entries{"2", "1000", "30", "3", "am"} << Texts{messages::M6} << false;
    QTest::newRow("type with a trailing blank") << Entries{"2", "1000", "30", "3", "AM "} << Texts{messages::M6}
                                                << false;
    QTest::newRow("decimal comma ends the number") << Entries{"2,5", "1000", "30", "3", "AM"} << Texts{} << true;
}

void GraficiPressTest::messagesComeInOrder()
{
    QFETCH(Entries, entries);
    QFETCH(Texts, expected);
    QFETCH(bool, runs);
    Enter(*session_, entries);
    session_->press();
    QCOMPARE(session_->messages.texts, expected);
    Form2* waveform = session_->windows.ExistingWaveformWindow();
    QCOMPARE(waveform != nullptr && waveform->isVisible(), runs);
    QCOMPARE(session_->windows.ExistingSpectrumWindow() != nullptr, runs);
}

void GraficiPressTest::acceptedPressShowsOnlyTheWaveformWindow()
{
    Enter(*session_, Entries{});
    session_->press();
    QVERIFY(session_->messages.texts.empty());
    QVERIFY(session_->windows.WaveformWindow().isVisible());
    QVERIFY(session_->windows.ExistingSpectrumWindow() != nullptr);
    QVERIFY(!session_->windows.SpectrumWindow().isVisible());

    // A second press reuses both windows.
    Form2* waveform = &session_->windows.WaveformWindow();
    Form3* spectrum = &session_->windows.SpectrumWindow();
    session_->press();
    QCOMPARE(&session_->windows.WaveformWindow(), waveform);
    QCOMPARE(&session_->windows.SpectrumWindow(), spectrum);
    QVERIFY(!spectrum->isVisible());
}

void GraficiPressTest::busyCursorLastsForThePressOnly()
{
    Enter(*session_, Entries{"2.5", "1000", "30", "3", "AM"});
    session_->press();
    QCOMPARE(session_->messages.cursorShapes, std::vector<Qt::CursorShape>{Qt::WaitCursor});
    QVERIFY(QApplication::overrideCursor() == nullptr);

    // A fault leaves no wait cursor behind either.
    session_->setEntry("Text1", "2");
    session_->setEntry("Text13", "2147483647");
    session_->press();
    QCOMPARE(session_->messages.texts.size(), std::size_t{2});
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void GraficiPressTest::faultEndsThePressAndTheApplicationGoesOn_data()
{
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<FaultKind>("fault");
    QTest::addColumn<bool>("waveformShown");
    QTest::newRow("N + 1 overflows") << Entries{"2", "2147483647", "30", "3", "AM"} << FaultKind::Overflow << true;
    QTest::newRow("negative N passes the sampling test")
        << Entries{"-2", "-1000", "30", "3", "AM"} << FaultKind::IndexOutOfRange << true;
    QTest::newRow("N beyond 32 bits") << Entries{"2", "1e10", "30", "3", "AM"} << FaultKind::Overflow << false;
}

void GraficiPressTest::faultEndsThePressAndTheApplicationGoesOn()
{
    QFETCH(Entries, entries);
    QFETCH(FaultKind, fault);
    QFETCH(bool, waveformShown);
    Enter(*session_, entries);
    session_->press();
    QCOMPARE(session_->messages.texts, Texts{FaultText(fault)});
    Form2* waveform = session_->windows.ExistingWaveformWindow();
    QCOMPARE(waveform != nullptr && waveform->isVisible(), waveformShown);

    // The next press with sound entries runs to the end.
    Enter(*session_, Entries{});
    session_->press();
    QCOMPARE(session_->messages.texts.size(), std::size_t{1});
    QVERIFY(session_->windows.WaveformWindow().isVisible());
    QCOMPARE(session_->state.params.N, 1000);
    QVERIFY(session_->state.params.SpectrumPeak > 0.0);
}

void GraficiPressTest::entriesAreNeverRewritten()
{
    Enter(*session_, Entries{"2.5", "1000.5", "30", "3", "AM"});
    session_->press();
    const EntryTexts texts = session_->panel().Entries();
    QCOMPARE(texts.Text1, std::string("2.5"));
    QCOMPARE(texts.Text13, std::string("1000.5"));
    QCOMPARE(session_->state.params.N, 1000);
}

void GraficiPressTest::messageBoxIsPlainModalWithOneButton()
{
    QtMessageSink sink;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QMessageBox::StandardButtons buttons;
    bool modal = false;
    Qt::CursorShape cursor = Qt::BlankCursor;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        modal = box->isModal();
        cursor = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::BlankCursor;
        box->button(QMessageBox::Ok)->click();
    });
    {
        // The box must show an ordinary pointer even during a busy action.
        BusyCursor busy;
        sink.ShowMessage(messages::M5);
    }
    QCOMPARE(title, "Trelvano");
    QCOMPARE(text, QString::fromUtf8(messages::M5));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(modal);
    QCOMPARE(cursor, Qt::ArrowCursor);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

QTEST_MAIN(GraficiPressTest)
#include "GraficiPressTest.moc"
