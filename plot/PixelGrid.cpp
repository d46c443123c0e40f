#include "PixelGrid.h"

namespace trelvano::plot {

PixelGrid::PixelGrid(PixelSize pixels)
{
    if (pixels.width > 0 && pixels.height > 0) {
        height_ = pixels.height;
        xScale_ = pixels.width / 100.0;
        yScale_ = -height_ / 100.0;
    }
}

PlotPoint PixelGrid::ToPlot(DevicePoint point) const
{
    return {static_cast<float>(point.x / xScale_), static_cast<float>((point.y - height_) / yScale_)};
}

}  // namespace trelvano::plot
