// A process of its own: Qt Test's synthetic pointer carries enter and leave
// state over from earlier tests.

#include <QTest>
#include <QToolTip>

#include "tests/ui/UiTestSupport.h"
#include "ui/PlotSurface.h"

using trelvano::PlotSurface;

class ReadoutTooltipTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { trelvano::uitest::DropOffscreenRaiseWarnings(); }
    void staysWhilePointerRestsAndGoesWhenItLeaves()
    {
        QWidget window;
        window.resize(300, 200);
        PlotSurface surface(QColor(0, 0, 0), &window);
        surface.setGeometry(0, 0, 200, 120);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseMove(&surface, QPoint(100, 30));
        QTRY_VERIFY(surface.underMouse());
        const QString text = QStringLiteral("f= 30000,00 Hz ; S(f) = 2,50E+01 V");
        surface.SetReadout(text);
        QTRY_VERIFY(QToolTip::isVisible());
        // Past the ten seconds after which Qt takes a tooltip down by itself.
        QTest::qWait(11000);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), text);

        QTest::mouseMove(&window, QPoint(250, 150));  // off the plot
        QTRY_VERIFY(!QToolTip::isVisible());
    }
};

QTEST_MAIN(ReadoutTooltipTest)
#include "ReadoutTooltipTest.moc"
