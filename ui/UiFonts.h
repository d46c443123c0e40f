#pragma once

#include <QFont>

namespace trelvano {

// The windows were laid out for "MS Sans Serif"; where that face is missing the
// nearest sans-serif takes its place, so the captions still fit their boxes.
QFont PanelFont(double pointSize, bool bold);

}  // namespace trelvano
