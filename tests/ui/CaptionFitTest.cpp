// Every caption of the input panel fits its box in the font the system really
// gives: on Linux the fallback face, on Windows (run on the windows platform,
// not off-screen) the faces a Windows installation has.

#include <QFontMetrics>
#include <QLabel>

#include "UiTestSupport.h"

using namespace trelvano;
using namespace trelvano::uitest;

class CaptionFitTest : public QObject {
    Q_OBJECT

private slots:
    void captionsFitTheirBoxes()
    {
        Session s;
        Form1& panel = s.Panel();
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        qInfo() << "panel font:" << QFontInfo(panel.font()).family() << QFontInfo(panel.font()).pointSizeF();
        const QList<QLabel*> labels = panel.findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
        QVERIFY(labels.size() > 10);
        for (const QLabel* label : labels) {
            const QFontMetrics metrics(label->font());
            // Word wrap puts a word that is wider than the box on a line of its own, wider than the box.
            const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 10000),
                                                      Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, label->text());
            QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                     qPrintable(QStringLiteral("%1 \"%2\" needs %3 x %4 in a box of %5 x %6")
                                    .arg(label->objectName(), label->text())
                                    .arg(needed.width()).arg(needed.height())
                                    .arg(label->width()).arg(label->height())));
        }
        const auto* grafici = panel.findChild<QPushButton*>("Command2");
        QVERIFY(QFontMetrics(grafici->font()).horizontalAdvance(grafici->text()) < grafici->width() - 8);
    }
};

QTEST_MAIN(CaptionFitTest)
#include "CaptionFitTest.moc"
