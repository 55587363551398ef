// dorvane: the setup dialog.
#include <QApplication>

#include "app/qt_translation.h"
#include "app/setup_app.h"

int main(int argc, char** argv)
{
    // Before QApplication: help and refusals need no display, and Qt aborts without one.
    if (const std::optional<int> status = theApp.ParseCommandLine(argc, argv)) return *status;
    if (!CheckDisplay()) return APP_EXIT_NO_DISPLAY;
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(DORVANE_APP_ID));
    InstallKoreanQtTexts(app);
    return theApp.InitInstance();
}
