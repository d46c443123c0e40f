#include "engine/GuardedPress.h"

namespace trelvano {

PressOutcome GuardedPress(AnalysisState& state, const EntryTexts& entries, MessageSink& messages, RunHost& host)
{
    const bool done = RunGuarded(
        messages, [&] { GraficiAction(state, entries, messages, host); },
        [&state](const RuntimeFault& fault) { return FaultMessage(fault, state.params); });
    return done ? PressOutcome::Done : PressOutcome::Faulted;
}

}  // namespace trelvano
