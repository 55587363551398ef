// The application icon (resource 128), drawn rather than shipped so that it scales and needs no file.
#pragma once

#include <QIcon>
#include <QImage>

QIcon AppIcon();
// The icon at `size` x `size` pixels; needs no QGuiApplication, so the build draws the installed
// icons with it too.
QImage DrawAppIcon(int size);
