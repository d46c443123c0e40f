#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/entries/MessageSink.h"
#include "engine/core/RuntimeFault.h"

namespace trelvano::support {

// The kind of fault `action` raises, or nothing when it completes.
template <typename Action>
std::optional<FaultKind> FaultOf(Action&& action)
{
    try {
        action();
    } catch (const RuntimeFault& fault) {
        return fault.kind();
    }
    return std::nullopt;
}

// Every message shown, in order, without waiting for anyone.
class RecordingSink final : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

}  // namespace trelvano::support
