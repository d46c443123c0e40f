#include "Application.h"

#include <QApplication>

#include "AppIcons.h"
#include "Form1.h"
#include "engine/core/WorkerPool.h"

namespace trelvano {

Application::Application() : windows_(session_, messages_)
{
    // Message boxes take their icon from here.
    QApplication::setWindowIcon(ApplicationIcon());
    // The threads a press shares its work with are made now, so that the first
    // press's memory check finds them in place.
    ProcessWorkers();
}

void Application::Start()
{
    windows_.InputPanel().show();
}

}  // namespace trelvano
