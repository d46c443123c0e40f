#include "QtMessageSink.h"

#include <QApplication>
#include <QMessageBox>

#include "engine/forms/FormTable.h"

namespace trelvano {

void QtMessageSink::ShowMessage(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kApplicationTitle), QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    // Shown as written: a message is never markup, whatever characters it holds.
    box.setTextFormat(Qt::PlainText);
    // Messages arrive in the middle of a busy action; the user must still see
    // an ordinary pointer to reach the OK button.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
}

}  // namespace trelvano
