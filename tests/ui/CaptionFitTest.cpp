// Every caption of the input panel fits its box: in the font the program
// picks, and in each sans-serif face a Windows installation has, when this
// system has it too (run on Windows' own platform, not off-screen, they are
// the faces Windows itself, or Wine, renders).

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>

#include "UiTestSupport.h"

using namespace trelvano;
using namespace trelvano::uitest;

class CaptionFitTest : public QObject {
    Q_OBJECT

private slots:
    void captionsFitTheirBoxes_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("the program's choice") << QString();
        for (const char* family : {"MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Segoe UI", "Arial"}) {
            QTest::newRow(family) << QString::fromLatin1(family);
        }
    }

    void captionsFitTheirBoxes()
    {
        QFETCH(QString, family);
        if (!family.isEmpty() && !QFontDatabase::families().contains(family)) QSKIP("this system lacks the face");
        Session s;
        Form1& panel = s.Panel();
        if (!family.isEmpty()) {
            for (QWidget* widget : panel.findChildren<QWidget*>()) {
                QFont font = widget->font();
                font.setFamilies({family});
                widget->setFont(font);
            }
        }
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const QList<QLabel*> labels = panel.findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
        QVERIFY(labels.size() > 10);
        qInfo() << "face:" << QFontInfo(labels.first()->font()).family();
        for (const QLabel* label : labels) {
            const QFontMetrics metrics(label->font());
            // Word wrap puts a word wider than the box on a line of its own, wider than the box.
            const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 10000),
                                                      Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, label->text());
            QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                     qPrintable(QStringLiteral("%1 \"%2\" needs %3 x %4 in a box of %5 x %6")
                                    .arg(label->objectName(), label->text())
                                    .arg(needed.width())
                                    .arg(needed.height())
                                    .arg(label->width())
                                    .arg(label->height())));
        }
        const auto* grafici = panel.findChild<QPushButton*>("Command2");
        QVERIFY(QFontMetrics(grafici->font()).horizontalAdvance(grafici->text()) < grafici->width() - 8);
    }
};

QTEST_MAIN(CaptionFitTest)
#include "CaptionFitTest.moc"
