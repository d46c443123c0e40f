#include <QApplication>

#include "Application.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    trelvano::Application trelvano;
    trelvano.Start();
    return QApplication::exec();
}
