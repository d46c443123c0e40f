// Run with the user's regional settings set to Italian (LANG, which Wine too
// turns into the Windows user locale): the readouts take the decimal comma
// from the system, with nothing set by the program or the test.

#include "UiTestSupport.h"

using namespace trelvano::uitest;

class RegionalSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void italianSettingsGiveTheDecimalComma()
    {
        QCOMPARE(QLocale::system().decimalPoint(), QStringLiteral(","));
        Session s;
        QVERIFY(s.RunDefaults());
        QCOMPARE(Readout(s.Waveform(), 50, 95), "t= 1,00 msec ; V(t) = 3,75E+01 V");
        QCOMPARE(Readout(s.Spectrum(), 50, 90), "f= 30000,00 Hz ; S(f) = 2,50E+01 V");
    }
};

QTEST_MAIN(RegionalSettingsTest)
#include "RegionalSettingsTest.moc"
