#include "app/window_frame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

// What the common window managers draw at scale 1 (openbox, xfwm, mutter, Windows): a title bar
// of up to about 30 pixels, thin borders. Overestimating only shrinks the window a little until
// the real frame is known.
constexpr QMargins ASSUMED_FRAME{4, 32, 4, 4};

}  // namespace

bool FrameKnown(const QWidget& window)
{
    const QWindow* handle = window.windowHandle();
    return handle && !handle->frameMargins().isNull();
}

QMargins ExpectedFrame(const QWidget& window, const QWidget* sibling)
{
    if (FrameKnown(window)) return window.windowHandle()->frameMargins();
    if (sibling && FrameKnown(*sibling)) return sibling->windowHandle()->frameMargins();
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return {};
    return ASSUMED_FRAME;
}

QRect ScreenRoom(const QWidget& window)
{
    const QScreen* screen = window.screen();
    return screen ? screen->availableGeometry() : QRect();
}
