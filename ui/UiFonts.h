#pragma once

#include <QFont>

#include "engine/forms/FormTable.h"

namespace trelvano {

// The windows were laid out for "MS Sans Serif"; where that face is missing the
// nearest sans-serif takes its place, so the captions still fit their boxes.
QFont PanelFont(double pointSize, bool bold);
inline QFont PanelFont(const Font& font)
{
    return PanelFont(font.points, font.bold);
}

}  // namespace trelvano
