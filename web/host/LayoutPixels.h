#pragma once

namespace trelvano::web {

// Twips to layout pixels at 96 dpi, rounded as the desktop rounds them, so a
// control and a plot's image take the desktop's sizes to the pixel.
constexpr int LayoutPixels(int twips)
{
    return (twips + 7) / 15;
}

}  // namespace trelvano::web
