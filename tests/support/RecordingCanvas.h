#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "plot/Canvas.h"

namespace trelvano::support {

struct RecordedLine {
    float x1, y1, x2, y2;
    plot::Rgb colour;
    friend bool operator==(const RecordedLine&, const RecordedLine&) = default;
    friend std::ostream& operator<<(std::ostream& out, const RecordedLine& l)
    {
        return out << "(" << l.x1 << ", " << l.y1 << ")-(" << l.x2 << ", " << l.y2 << ") rgb " << int(l.colour.r) << ","
                   << int(l.colour.g) << "," << int(l.colour.b);
    }
};
using Lines = std::vector<RecordedLine>;

// With no pixels the passes hand on every segment; given a size they merge columns. Given a log, each call
// is noted there under the canvas's name (a stretch of lines once), so the order across plots shows.
struct RecordingCanvas : plot::Canvas {
    explicit RecordingCanvas(plot::PixelSize size = {}, std::string name = {}, std::vector<std::string>* log = {})
        : pixels(size), name(std::move(name)), log(log), lineNote(this->name + ".Line")
    {
    }
    void Scale(double x1, double y1, double x2, double y2) override
    {
        Note(".Scale(" + std::to_string(int(x1)) + "," + std::to_string(int(y1)) + "," + std::to_string(int(x2)) + "," +
             std::to_string(int(y2)) + ")");
    }
    void Line(float x1, float y1, float x2, float y2, plot::Rgb c) override
    {
        if (log && (log->empty() || log->back() != lineNote)) log->push_back(lineNote);
        lines.push_back({x1, y1, x2, y2, c});
    }
    void Blank() override
    {
        Note(".Blank");
        lines.clear();
    }
    plot::PixelSize Pixels() const override { return pixels; }
    void Note(const std::string& call)
    {
        if (log) log->push_back(name + call);
    }

    plot::PixelSize pixels;
    std::string name;
    std::vector<std::string>* log;
    std::string lineNote;  // made once: Line is called for every segment
    Lines lines;
};

}  // namespace trelvano::support
