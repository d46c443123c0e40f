#include "PlotPasses.h"

namespace trelvano::plot {

void DrawZeroAxis(Canvas& canvas)
{
    canvas.Line(0.0F, 50.0F, 100.0F, 50.0F, Black);
}

}  // namespace trelvano::plot
