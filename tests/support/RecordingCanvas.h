#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <ostream>
#include <vector>

#include "plot/Canvas.h"

namespace trelvano::support {

struct RecordedLine {
    float x1, y1, x2, y2;
    plot::Rgb colour;
    friend bool operator==(const RecordedLine&, const RecordedLine&) = default;
    friend std::ostream& operator<<(std::ostream& out, const RecordedLine& l)
    {
        return out << "(" << l.x1 << ", " << l.y1 << ")-(" << l.x2 << ", " << l.y2 << ") rgb " << int(l.colour.r)
                   << "," << int(l.colour.g) << "," << int(l.colour.b);
    }
};
using Lines = std::vector<RecordedLine>;

// Finite and inside the guard box at which the passes cut far-off segments.
inline bool Tame(const Lines& lines)
{
    const auto tame = [](float c) { return std::isfinite(c) && c >= -100.0F && c <= 200.0F; };
    // Classic algorithms: libc++ 14, which the plot tests also build with, lacks the ranges ones.
    return std::all_of(lines.begin(), lines.end(), [&](const RecordedLine& l) {
        const std::array c{l.x1, l.y1, l.x2, l.y2};
        return std::all_of(c.begin(), c.end(), tame);
    });
}

// With no pixels the passes hand on every segment; given a size they merge columns.
struct RecordingCanvas : plot::Canvas {
    explicit RecordingCanvas(plot::PixelSize size = {}) : pixels(size) {}
    void Scale(double, double, double, double) override {}
    void Line(float x1, float y1, float x2, float y2, plot::Rgb c) override { lines.push_back({x1, y1, x2, y2, c}); }
    void Blank() override { lines.clear(); }
    plot::PixelSize Pixels() const override { return pixels; }
    plot::PixelSize pixels;
    Lines lines;
};

}  // namespace trelvano::support
