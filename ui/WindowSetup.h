#pragma once

#include <QIcon>
#include <QSize>
#include <QString>
#include <QWidget>

#include "UiFonts.h"

namespace trelvano {

// What every window of the program shares: its name, its caption and icon, the
// font its controls inherit, its client size, and deletion on close, so that
// the next request for it builds it afresh with a blank plot.
inline void SetUpWindow(QWidget& window, const char* name, const char* caption, const QIcon& icon, QFont font,
                        QSize clientSize)
{
    window.setObjectName(QString::fromLatin1(name));
    window.setAttribute(Qt::WA_DeleteOnClose);
    window.setWindowTitle(QString::fromUtf8(caption));
    window.setWindowIcon(icon);
    window.setFont(font);
    window.resize(clientSize);
}

}  // namespace trelvano
