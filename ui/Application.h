#pragma once

#include "AppWindows.h"
#include "QtMessageSink.h"
#include "engine/state/AnalysisState.h"

namespace trelvano {

// Everything the running program holds: the one analysis state, the message
// box and the windows. Create it after QApplication and let it die before.
class Application {
public:
    Application();

    // Shows the input panel; nothing else happens at start.
    void Start();

private:
    // Declared before the windows, which refer to both.
    AnalysisState state_;
    QtMessageSink messages_;
    AppWindows windows_;
};

}  // namespace trelvano
