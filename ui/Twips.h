#pragma once

#include <QRect>

#include "engine/entries/EntryTable.h"

namespace trelvano {

// Layouts are measured in twips; Qt scales logical pixels for high-density
// screens itself.
inline QRect TwipsRect(int left, int top, int width, int height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

inline QRect TwipsRect(const Twips& place)
{
    return TwipsRect(place.left, place.top, place.width, place.height);
}

inline QSize TwipsSize(int width, int height)
{
    return {TwipsToPixels(width), TwipsToPixels(height)};
}

}  // namespace trelvano
