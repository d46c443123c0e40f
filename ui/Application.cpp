#include "Application.h"

#include <QApplication>

#include "AppIcons.h"
#include "Form1.h"

namespace trelvano {

Application::Application() : windows_(state_, messages_)
{
    // Message boxes take their icon from here.
    QApplication::setWindowIcon(ApplicationIcon());
}

void Application::Start()
{
    windows_.InputPanel().show();
}

}  // namespace trelvano
