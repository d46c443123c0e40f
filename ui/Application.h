#pragma once

#include "AppWindows.h"
#include "QtMessageSink.h"
#include "engine/session/Session.h"

namespace trelvano {

// Everything the running program holds: the session, the message box and
// the windows that show them. Create it after QApplication and let it die before.
class Application {
public:
    Application();

    // Shows the input panel; nothing else happens at start.
    void Start();

private:
    // Declared before the windows, which refer to both.
    Session session_;
    QtMessageSink messages_;
    AppWindows windows_;
};

}  // namespace trelvano
