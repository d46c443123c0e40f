#pragma once

#include <string>

namespace trelvano {

// Shows a modal message and returns when the user has dismissed it.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace trelvano
