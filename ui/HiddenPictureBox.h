#pragma once

#include <QFrame>
#include <QRect>

namespace trelvano {

// The never-visible companion of a plot: an empty picture box kept only so the
// window has the same controls as its layout lists.
inline QFrame* MakeHiddenPictureBox(QWidget* parent, QRect geometry)
{
    auto* box = new QFrame(parent);
    box->setObjectName(QStringLiteral("Picture2"));
    box->setGeometry(geometry);
    box->setFrameShape(QFrame::Box);
    box->hide();
    return box;
}

}  // namespace trelvano
