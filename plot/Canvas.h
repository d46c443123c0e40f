#pragma once

#include <cstdint>

namespace trelvano::plot {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb Black{0, 0, 0};
inline constexpr Rgb Red{255, 0, 0};

// The user coordinates a canvas's Scale sets: (x1, y1) at the top-left corner
// of its image, (x2, y2) at the bottom-right one.
struct PlotCorners {
    double x1 = 0.0;
    double y1 = 100.0;
    double x2 = 100.0;
    double y2 = 0.0;
};

// The plot coordinates every run and the waveform readout set, and every
// plot starts with: x 0 to 100 left to right, y 0 to 100 bottom to top.
inline constexpr PlotCorners kPlotCorners{};

// Size of a canvas's drawing area in device pixels.
struct PixelSize {
    int width = 0;
    int height = 0;
};

// A surface with a persistent image and a user coordinate system.
// After Scale(0, 100, 100, 0) the point (x, y) lies x/100 of the width from the
// left edge and y/100 of the height up from the bottom edge, i.e. at device
// pixel (x / 100 · width, (100 − y) / 100 · height).
class Canvas {
public:
    virtual ~Canvas() = default;

    // (x1, y1) becomes the top-left corner, (x2, y2) the bottom-right one. The image is untouched.
    virtual void Scale(double x1, double y1, double x2, double y2) = 0;
    // A plain one-pixel solid segment between two absolute user points, into the image.
    virtual void Line(float x1, float y1, float x2, float y2, Rgb colour) = 0;
    // Discards the image: the surface shows its background colour only.
    virtual void Blank() = 0;
    // Lets a pass merge what falls into one pixel column; {0, 0} means "draw everything".
    virtual PixelSize Pixels() const = 0;

    void Scale(const PlotCorners& c) { Scale(c.x1, c.y1, c.x2, c.y2); }
};

}  // namespace trelvano::plot
