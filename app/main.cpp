// dorvane: the setup dialog.
#include <QApplication>

#include "app/setup_app.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return theApp.InitInstance(argc, argv);
}
