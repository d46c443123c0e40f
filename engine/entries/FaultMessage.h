#pragma once

#include <string>

#include "engine/core/RuntimeFault.h"
#include "engine/state/AnalysisState.h"

namespace trelvano {

// The message box text for a fault: the fault's own text first and, when the
// memory check refused the run, how much it needed and how much the machine
// could give.
std::string FaultMessage(const RuntimeFault& fault);

// The same for a fault of the "Grafici" action, followed by one line naming the
// entry box behind it and what to enter there, when a single entry is behind
// it: the entry the intake was reading, if the fault names one, or else the one
// the values in `params`, as the action's intake held them, point to.
std::string FaultMessage(const RuntimeFault& fault, const AnalysisParameters& params);

}  // namespace trelvano
