#pragma once

#include <vector>

#include "plot/Canvas.h"

namespace trelvano::plot::test {

struct RecordedLine {
    float x1, y1, x2, y2;
    Rgb colour;
};

// Keeps every line it is handed; reports the pixel size it is given, by
// default none, which asks the passes for every segment.
class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(PixelSize pixels = {}) : pixels_(pixels) {}

    void Scale(double, double, double, double) override {}
    void Line(float x1, float y1, float x2, float y2, Rgb colour) override
    {
        lines.push_back({x1, y1, x2, y2, colour});
    }
    void Blank() override { lines.clear(); }
    PixelSize Pixels() const override { return pixels_; }

    std::vector<RecordedLine> lines;

private:
    PixelSize pixels_;
};

}  // namespace trelvano::plot::test
