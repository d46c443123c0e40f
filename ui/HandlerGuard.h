#pragma once

#include <new>
#include <utility>

#include "engine/MessageSink.h"
#include "engine/RuntimeFault.h"

namespace trelvano {

// Runs one event handler's work. A fault ends that event only: the user is
// told in a message box and the application carries on with the next event.
// Nothing may escape into Qt's event loop, which cannot unwind exceptions.
template <typename Work>
void RunGuarded(MessageSink& messages, Work&& work)
{
    try {
        std::forward<Work>(work)();
    } catch (const RuntimeFault& fault) {
        messages.ShowMessage(FaultText(fault.kind()));
    } catch (const std::bad_alloc&) {
        messages.ShowMessage(FaultText(FaultKind::OutOfMemory));
    }
}

}  // namespace trelvano
