#pragma once

#include <string>
#include <vector>

namespace trelvano {

// What a user's action made happen, for a front end to show in this order.
enum class EventKind {
    Message,      // a modal message with its text; what follows waits for its OK
    Shown,        // the window came up modeless, raised and active
    PlotChanged,  // the window's plot image differs from the one last shown
    Closed,       // the window is gone with its plot
    Readout,      // the text at the pointer or the keyboard cursor, for the plot's tooltip
    Described,    // what the plot shows, in words, for a screen reader; empty when blank
    PressEnded,   // the last event of a press: `done` false when a fault ended it
};

struct SessionEvent {
    EventKind kind;
    // The window the event is about ("Form2", "Form3"); null for a message.
    const char* form = nullptr;
    std::string text{};
    bool done = true;
    // Where a readout was taken, in layout pixels from the plot's top-left corner.
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const SessionEvent&, const SessionEvent&) = default;
};

using SessionEvents = std::vector<SessionEvent>;

}  // namespace trelvano
