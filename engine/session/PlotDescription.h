#pragma once

#include <string>
#include <string_view>

#include "engine/session/ResultWindow.h"
#include "engine/state/AnalysisState.h"

namespace trelvano {

// What a sighted user reads off the plot, in the readouts' own words: for the
// waveform the readout at the first sample of its peak, for the spectrum the
// readout at the top of each line in view. Empty for a blank plot.
std::string DescribePlot(ResultWindow& window, AnalysisState& state, std::string_view decimalSeparator);

}  // namespace trelvano
