// Whether a display is there to open, before Qt tries and aborts without one (X11, Wayland).
#include <cstdio>
#include <cstdlib>

#include "app/setup_app.h"

namespace {

bool IsSet(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

}  // namespace

bool CheckDisplay()
{
    // An explicit platform (offscreen, vnc, eglfs ...) is the caller's choice, display or not.
    if (IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY")) return true;
    std::fputs(
        "dorvane: 화면이 없습니다 (DISPLAY 와 WAYLAND_DISPLAY 가 설정되지 않음); 창 없이 같은 명령은 dorvane-cli 로 "
        "실행합니다 / no display (DISPLAY and WAYLAND_DISPLAY are unset); dorvane-cli runs the same commands "
        "without one\n",
        stderr);
    return false;
}
