// Run with the user's regional settings set to Italian (LANG, which Wine too
// turns into the Windows user locale): the readouts take the decimal comma
// from the system, with nothing set by the program or the test.

#include "UiTestSupport.h"

using namespace trelvano;
using namespace trelvano::uitest;

class RegionalSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void italianSettingsGiveTheDecimalComma()
    {
        QCOMPARE(QLocale::system().decimalPoint(), QStringLiteral(","));
        Session s;
        s.Panel().show();
        s.SetType("AM");
        s.Press();
        QVERIFY(s.messages.texts.empty());
        s.Waveform().Picture1_MouseMove(50, 95);
        QCOMPARE(s.Waveform().Picture1().toolTip(), "t= 1,00 msec ; V(t) = 3,75E+01 V");
        s.Spectrum().Picture1_MouseMove(50, 90);
        QCOMPARE(s.Spectrum().Picture1().toolTip(), "f= 30000,00 Hz ; S(f) = 2,50E+01 V");
    }
};

QTEST_MAIN(RegionalSettingsTest)
#include "RegionalSettingsTest.moc"
