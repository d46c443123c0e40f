#pragma once

#include <new>
#include <utility>

#include "engine/AnalysisRun.h"
#include "engine/core/RuntimeFault.h"
#include "engine/entries/FaultMessage.h"
#include "engine/entries/MessageSink.h"

namespace trelvano {

// Runs one event handler's work. A fault ends that event only: the user is
// told in a message, worded by `explain`, and the program carries on with the
// next event. Nothing may escape into a front end's event loop: neither Qt's
// nor a browser's call into the engine can unwind an exception. True when the
// work ran to its end.
template <typename Work, typename Explain>
bool RunGuarded(MessageSink& messages, Work&& work, Explain&& explain)
{
    try {
        std::forward<Work>(work)();
        return true;
    } catch (const RuntimeFault& fault) {
        messages.ShowMessage(explain(fault));
    } catch (const std::bad_alloc&) {
        // An allocation the memory check let through: no figures to tell.
        messages.ShowMessage(explain(RuntimeFault(FaultKind::OutOfMemory)));
    }
    return false;
}

template <typename Work>
bool RunGuarded(MessageSink& messages, Work&& work)
{
    return RunGuarded(messages, std::forward<Work>(work),
                      [](const RuntimeFault& fault) { return FaultMessage(fault); });
}

enum class PressOutcome {
    Done,     // drawn, or stopped by the intake with its message
    Faulted,  // ended by a fault, whose message was the last one shown
};

// A "Grafici" press as every front end makes it: intake, blanking and the run,
// a fault turned into its message with the entry behind it.
PressOutcome GuardedPress(AnalysisState& state, const EntryTexts& entries, MessageSink& messages, RunHost& host);

}  // namespace trelvano
