#pragma once

#include <QColor>
#include <QWidget>

#include "engine/forms/FormTable.h"

namespace trelvano {

inline QColor ToQColor(Rgb colour)
{
    return {colour.r, colour.g, colour.b};
}

// What the window's table says of the window itself: its name, caption, icon,
// the font its controls inherit and its client size; and deletion on close,
// so that the next request for it builds it afresh with a blank plot.
void SetUpWindow(QWidget& window, const Form& form);

// The window's entry boxes with their captions, then its other controls, each
// where its table puts it, named as the table names it.
void BuildControls(QWidget& window, const Form& form);

// Tab visits the controls that take the focus in the table's order.
void SetTabOrder(QWidget& window, const Form& form);

}  // namespace trelvano
