#pragma once

#include "engine/entries/MessageSink.h"

namespace trelvano {

// The application's message box: modal, the message as its text, one OK
// button, no icon, and the application title as caption.
class QtMessageSink final : public MessageSink {
public:
    void ShowMessage(const std::string& text) override;
};

}  // namespace trelvano
