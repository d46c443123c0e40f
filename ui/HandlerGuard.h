#pragma once

#include <new>
#include <utility>

#include "engine/entries/FaultMessage.h"
#include "engine/entries/MessageSink.h"
#include "engine/core/RuntimeFault.h"

namespace trelvano {

// Runs one event handler's work. A fault ends that event only: the user is
// told in a message box, worded by `explain`, and the application carries on
// with the next event. Nothing may escape into Qt's event loop, which cannot
// unwind exceptions.
template <typename Work, typename Explain>
void RunGuarded(MessageSink& messages, Work&& work, Explain&& explain)
{
    try {
        std::forward<Work>(work)();
    } catch (const RuntimeFault& fault) {
        messages.ShowMessage(explain(fault));
    } catch (const std::bad_alloc&) {
        // An allocation the memory check let through: no figures to tell.
        messages.ShowMessage(explain(RuntimeFault(FaultKind::OutOfMemory)));
    }
}

template <typename Work>
void RunGuarded(MessageSink& messages, Work&& work)
{
    RunGuarded(messages, std::forward<Work>(work), [](const RuntimeFault& fault) { return FaultMessage(fault); });
}

}  // namespace trelvano
