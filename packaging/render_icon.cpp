// Writes the application icon into a hicolor tree at build time, from the drawing the dialog
// shows, so that the installed icon is the same picture.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QDir>

#include "res/app_icon.h"

// dorvane-render-icon ROOT NAME SIZE...: ROOT/SIZExSIZE/apps/NAME.png for each size.
int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fputs("usage: dorvane-render-icon ROOT NAME SIZE...\n", stderr);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (size <= 0 || !QDir().mkpath(dir) || !DrawAppIcon(size).save(dir + "/" + name + ".png")) {
            std::fprintf(stderr, "dorvane-render-icon: cannot write the %s pixel icon in %s\n", argv[i], argv[1]);
            return 1;
        }
    }
    return 0;
}
