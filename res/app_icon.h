// The application icon (resource 128) for the Qt views, from its pixels (res/app_icon_pixels.h).
#pragma once

#include <QIcon>
#include <QImage>

QIcon AppIcon();
// The icon at `size` x `size` pixels; needs no QGuiApplication, so the build draws the installed
// icons with it too.
QImage DrawAppIcon(int size);
