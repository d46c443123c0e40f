#include "UiFonts.h"

#include <QStringList>

namespace trelvano {

QFont PanelFont(double pointSize, bool bold)
{
    QFont font;
    // Microsoft's TrueType successor comes next; where neither exists, DejaVu
    // Sans Condensed is the common sans-serif closest in width and line height,
    // so two- and three-line captions still fit their boxes. The style hint
    // lets the platform pick its own sans-serif after that.
    font.setFamilies({QString::fromLatin1(kPanelFace), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("DejaVu Sans Condensed")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

}  // namespace trelvano
