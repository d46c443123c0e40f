#pragma once

#include <cmath>
#include <limits>
#include <optional>

namespace trelvano::plot {

// A point as a canvas receives it: plot coordinates in single precision.
struct PlotPoint {
    float x = 0.0F;
    float y = 0.0F;
};

// A coordinate computed in double, rounded to the nearest float. Nothing for a
// value that is not finite or lies beyond the float range: such a coordinate
// cannot be handed to a canvas, so whatever uses it is left out.
inline std::optional<float> ToPlotFloat(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
        return std::nullopt;
    }
    return static_cast<float>(value);
}

inline std::optional<PlotPoint> ToPlotPoint(double x, double y)
{
    const auto fx = ToPlotFloat(x);
    const auto fy = ToPlotFloat(y);
    if (!fx || !fy) {
        return std::nullopt;
    }
    return PlotPoint{*fx, *fy};
}

}  // namespace trelvano::plot
